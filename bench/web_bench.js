// The web edition's speed figures, in one run (bench/web_bench.sh):
//   - from navigation to the first chart drawn, headless Chromium, the page
//     opened from disk (the mark the page sets once the chart is in place);
//   - a 計算実行 round without a message (the boxes read, the checks, the
//     recompute, the chart redrawn and measured), as the page measures it;
//   - the core's cost per day in WebAssembly, the very module the page
//     loads, run by Node.js (the same days as bench/hours_bench's
//     BM_SunDay, in processor time as that reports them);
//   - the page's transfer, every file of the folder published.
// Medians; prints one line per figure as "name value unit", for the shell
// script to set against its goals.
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const { launch, pageUrl, siteFolder } = require('../web/tests/browser.js');

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor((sorted.length - 1) / 2)];
};

async function pageFigures(loads, rounds) {
  const browser = await launch();
  try {
    const context = await browser.newContext();
    const page = await context.newPage();
    const drawn = [];
    for (let i = 0; i < loads; ++i) {
      await page.goto(pageUrl());
      await page.waitForSelector('html[data-ready="true"]');
      drawn.push(await page.evaluate(() =>
        performance.getEntriesByName('tolmeri-chart-drawn')[0].startTime));
    }
    // Every round a different day, so each one recomputes.
    for (let i = 0; i < rounds; ++i) {
      await page.fill('#box-day', String(1 + (i % 28)));
      await page.click('#calculate');
      await page.waitForSelector('html:not([data-busy])', { state: 'attached' });
    }
    const calculate = await page.evaluate(() =>
      performance.getEntriesByName('tolmeri-calculate').map((e) => e.duration));
    if (calculate.length !== rounds) throw new Error(`${calculate.length} of ${rounds} rounds measured`);
    return { drawn: median(drawn.slice(1)), calculate: median(calculate) };
  } finally {
    await browser.close();
  }
}

// Processor time, as Google Benchmark reports the native figure: on a
// machine busy with others the wall clock would count their share too.
async function wasmPerDay(sun, days, repetitions) {
  const factory = require(path.join(siteFolder(), 'tolmeri-core.js'));
  const made = factory();
  const core = made.ready ? await made.ready : await made;
  core._tolmeri_time_days(days, sun); // compiled and warm
  const times = [];
  for (let i = 0; i < repetitions; ++i) {
    const start = process.cpuUsage();
    core._tolmeri_time_days(days, sun);
    const used = process.cpuUsage(start);
    times.push((used.user + used.system) * 1e3 / days);
  }
  return median(times);
}

function transferBytes() {
  const site = siteFolder();
  return fs.readdirSync(site).reduce((sum, f) => sum + fs.statSync(path.join(site, f)).size, 0);
}

(async () => {
  const { drawn, calculate } = await pageFigures(11, 41);
  console.log(`first_chart ${drawn.toFixed(1)} ms`);
  console.log(`calculate_round ${calculate.toFixed(2)} ms`);
  console.log(`wasm_day_window ${(await wasmPerDay(0, 36500, 9)).toFixed(0)} ns`);
  console.log(`wasm_day_precise ${(await wasmPerDay(1, 36500, 9)).toFixed(0)} ns`);
  console.log(`transfer ${transferBytes()} bytes`);
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
