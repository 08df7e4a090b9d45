// The web edition's speed figures, in one run (bench/web_bench.sh):
//   - from navigation to the first chart drawn, headless Chromium, the page
//     opened from disk (the mark the page sets once the chart is in place);
//   - a 計算実行 round without a message (the boxes read, the checks, the
//     recompute, the chart redrawn and measured), as the page measures it,
//     and what follows in the next frame beside the chart (the day's
//     names, its Moon, the fields' answers, the link);
//   - the year chart of 2024 (366 days) with the Moon, from its request to
//     the picture laid out, median and slowest;
//   - the core's cost per day in WebAssembly, the very module the page
//     loads, run by Node.js (the same days as bench/hours_bench's
//     BM_SunDay, in processor time as that reports them);
//   - a keystroke in the date field (a date as written), in the hour-name
//     field and in the historical places' search, from the key to its answer
//     laid out, median and slowest;
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
    const beside = await page.evaluate(() =>
      performance.getEntriesByName('tolmeri-calculate-beside').map((e) => e.duration));
    // Typing: each keystroke of a date as written and of an hour name, from
    // the key to its answer laid out.
    const typing = {};
    for (const [id, text] of [['typed-date', '安政七年三月三日'], ['hour-name', '朝五つ半']]) {
      const keys = [];
      for (let i = 0; i < 5; ++i) {
        await page.fill('#' + id, '');
        await page.evaluate(() => performance.clearMeasures());
        await page.type('#' + id, text);
        keys.push(...await page.evaluate((name) =>
          performance.getEntriesByName(name).map((e) => e.duration), 'tolmeri-' + id));
      }
      typing[id] = { median: median(keys), slowest: Math.max(...keys), count: keys.length };
    }
    // The historical places' search as typed, the whole list of 370 places
    // at the first key.
    const search = [];
    await page.click('#choose-historical');
    for (let i = 0; i < 5; ++i) {
      await page.fill('#historical-search', '');
      await page.evaluate(() => performance.clearMeasures());
      await page.type('#historical-search', 'shinagawa');
      search.push(...await page.evaluate(() =>
        performance.getEntriesByName('tolmeri-historical-search').map((e) => e.duration)));
    }
    typing['historical-search'] = { median: median(search), slowest: Math.max(...search) };
    await page.keyboard.press('Escape');
    // The year chart, 366 days with the Moon: from the request (the view
    // opened, the Moon's box ticked) to the picture laid out.
    await page.goto(pageUrl() + '?place=%E6%9D%B1%E4%BA%AC&date=2024-06-21&moon=1');
    await page.waitForSelector('html[data-ready="true"]');
    await page.click('#tab-year');
    await page.waitForSelector('#year-chart svg');
    for (let i = 0; i < 20; ++i) {
      await page.click('#year-moon');
      await page.waitForSelector('html:not([data-busy])', { state: 'attached' });
    }
    const year = await page.evaluate(() =>
      performance.getEntriesByName('tolmeri-year-chart').map((e) => e.duration));
    const withMoon = year.filter((_, i) => i % 2 === 0); // the first, then every other one
    return { drawn: median(drawn.slice(1)), calculate: median(calculate), beside: median(beside), typing,
             year: median(withMoon.slice(1)), yearSlowest: Math.max(...withMoon.slice(1)) };
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

// Every file of the folder, as published and as a web server would send it
// compressed (gzip at its default level).
function transferBytes() {
  const zlib = require('node:zlib');
  const site = siteFolder();
  let plain = 0;
  let gzip = 0;
  for (const f of fs.readdirSync(site)) {
    const bytes = fs.readFileSync(path.join(site, f));
    plain += bytes.length;
    gzip += zlib.gzipSync(bytes).length;
  }
  return { plain, gzip };
}

(async () => {
  const { drawn, calculate, beside, typing, year, yearSlowest } = await pageFigures(11, 41);
  console.log(`first_chart ${drawn.toFixed(1)} ms`);
  console.log(`calculate_round ${calculate.toFixed(2)} ms`);
  console.log(`calculate_beside ${beside.toFixed(2)} ms`);
  console.log(`year_chart ${year.toFixed(1)} ${yearSlowest.toFixed(1)} ms`);
  for (const [id, t] of Object.entries(typing))
    console.log(`typing_${id} ${t.median.toFixed(2)} ${t.slowest.toFixed(2)} ms`);
  console.log(`wasm_day_window ${(await wasmPerDay(0, 36500, 9)).toFixed(0)} ns`);
  console.log(`wasm_day_precise ${(await wasmPerDay(1, 36500, 9)).toFixed(0)} ns`);
  const transfer = transferBytes();
  console.log(`transfer ${transfer.plain} bytes`);
  console.log(`transfer_gzip ${transfer.gzip} bytes`);
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
