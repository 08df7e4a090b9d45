// The page's numbers against tolmeri-hours --format json: random places
// (the window's ranges) and dates (years 0 to 2200), each day by the
// window's Sun and by the precise Sun, computed by the module the page
// loaded and by the native program; every value of the day's JSON (each
// boundary, sunrise, sunset, the transit's row and everything else) must be
// the same. Some of the same days also go through the page's boxes and
// 計算実行, their chart's clock texts against the program's. The summary is
// printed, and written to TOLMERI_WEB_REPORT when given.
'use strict';
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const { after, before, test } = require('node:test');
const { launch, pageUrl } = require('./browser.js');

const kCases = 200;
const kThroughTheBoxes = 12;
const kSeed = Number(process.env.TOLMERI_SEED || 36);
const kHours = process.env.TOLMERI_HOURS ||
  path.join(__dirname, '../../build/release/bin/tolmeri-hours');

// A small seeded generator (mulberry32), so a failing case can be run again.
function random(seed) {
  let a = seed >>> 0;
  return (lo, hi) => {
    a = (a + 0x6D2B79F5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    const unit = ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    return lo + Math.floor(unit * (hi - lo + 1));
  };
}

function daysIn(year, month) {
  if (month === 2) return (year % 4 === 0 && year % 100 !== 0) || year % 400 === 0 ? 29 : 28;
  return [4, 6, 9, 11].includes(month) ? 30 : 31;
}

// Places and dates the window's checks accept: whole-degree latitudes up to
// 54 either way, any longitude, a zone within two hours of the longitude's.
function makeCases() {
  const r = random(kSeed);
  const cases = [];
  for (let i = 0; i < kCases; ++i) {
    const lonDeg = r(-180, 180);
    const zone = Math.trunc(lonDeg / 15);
    const year = r(0, 2200);
    const month = r(1, 12);
    cases.push({
      place: { name: `試験${i}`, latDeg: r(-54, 54), latMin: r(0, 59), lonDeg,
               lonMin: Math.abs(lonDeg) === 180 ? 0 : r(0, 59),
               timeDiff: Math.max(-12, Math.min(12, zone + r(-2, 2))) },
      date: { year, month, day: r(1, daysIn(year, month)) },
    });
  }
  // The ends of the accepted years and of the places, whatever the seed.
  Object.assign(cases[0], { date: { year: 0, month: 1, day: 1 } });
  Object.assign(cases[0].place, { latDeg: -54, latMin: 59, lonDeg: -180, lonMin: 0, timeDiff: -12 });
  Object.assign(cases[1], { date: { year: 2200, month: 12, day: 31 } });
  Object.assign(cases[1].place, { latDeg: 54, latMin: 59, lonDeg: 180, lonMin: 0, timeDiff: 12 });
  return cases;
}

const pad = (n, width) => String(n).padStart(width, '0');
const angle = (deg, min) => `${deg}:${pad(min, 2)}`;

function cliDay({ place, date }, sun) {
  return JSON.parse(execFileSync(kHours, [
    '--lat', angle(place.latDeg, place.latMin), '--lon', angle(place.lonDeg, place.lonMin),
    '--tz', String(place.timeDiff), '--name', place.name,
    '--date', `${pad(date.year, 4)}-${pad(date.month, 2)}-${pad(date.day, 2)}`,
    '--format', 'json', '--sun', sun], { encoding: 'utf8' }));
}

let browser;
let page;
before(async () => {
  assert.ok(fs.existsSync(kHours), `no tolmeri-hours at ${kHours}`);
  browser = await launch();
  page = await (await browser.newContext()).newPage();
  page.on('pageerror', (e) => assert.fail(e.message));
  await page.goto(pageUrl());
  await page.waitForSelector('html[data-ready="true"]');
});
after(async () => {
  await browser.close();
});

test(`${kCases} random places and dates, both Suns: the page's day equals tolmeri-hours'`, async () => {
  const cases = makeCases();
  const pageDays = await page.evaluate((all) => all.map((c) => [0, 1].map((sun) =>
    window.tolmeri.core.dayJson(c.place, c.date, sun))), cases);
  let boundaries = 0;
  const suns = ['window', 'precise'];
  cases.forEach((c, i) => {
    suns.forEach((sun, s) => {
      const cli = cliDay(c, sun);
      const mine = pageDays[i][s];
      const what = `${JSON.stringify(c)} by the ${sun} Sun`;
      assert.deepEqual(mine, cli, what);
      const day = mine.days[0];
      assert.equal(day.minutes.length, 25, what);
      boundaries += day.minutes.length;
    });
  });
  const years = cases.map((c) => c.date.year);
  const summary = `web edition against tolmeri-hours --format json (seed ${kSeed}): ` +
    `${kCases} places and dates (years ${Math.min(...years)}-${Math.max(...years)}), ` +
    `each by the window's and the precise Sun: ${2 * kCases} days, ${boundaries} boundaries, ` +
    `${2 * kCases} sunrises, sunsets and transits (boundary 12), every value of each day's JSON equal`;
  console.log(summary);
  if (process.env.TOLMERI_WEB_REPORT) fs.writeFileSync(process.env.TOLMERI_WEB_REPORT, summary + '\n');
});

test(`${kThroughTheBoxes} of them typed into the boxes: the chart shows tolmeri-hours' clock times`, async () => {
  const ids = ['box-lat-deg', 'box-lat-min', 'box-lon-deg', 'box-lon-min', 'box-time-diff',
               'box-year', 'box-month', 'box-day', 'box-name'];
  for (const c of makeCases().slice(0, kThroughTheBoxes)) {
    const p = c.place;
    const texts = [p.latDeg, p.latMin, p.lonDeg, p.lonMin, p.timeDiff, c.date.year, c.date.month,
                   c.date.day, p.name].map(String);
    for (let i = 0; i < ids.length; ++i) await page.fill('#' + ids[i], texts[i]);
    await page.click('#calculate');
    await page.waitForSelector('html:not([data-busy])', { state: 'attached' });
    const rows = await page.evaluate(() =>
      [...document.querySelectorAll('#chart g.row text')].map((t) => t.textContent.slice(-5)));
    const marks = await page.evaluate(() =>
      [...document.querySelectorAll('#chart g.mark text')].map((t) => t.textContent));
    const day = cliDay(c, 'window').days[0];
    assert.deepEqual(rows, day.times, JSON.stringify(c));
    assert.deepEqual([marks[1], marks[3]], [day.sunrise, day.sunset], JSON.stringify(c));
    assert.equal(await page.locator('dialog[open]').count(), 0);
  }
});
