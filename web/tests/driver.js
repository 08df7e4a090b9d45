// The tests' hands on the page: a fresh visitor's page with its console
// errors collected, the boxes read and typed, a command pressed with each of
// its messages answered, and the wait for a command under way. Shared by the
// browser tests of web/tests.
'use strict';
const assert = require('node:assert/strict');
const { pageUrl } = require('./browser.js');

const kBoxIds = ['box-lat-deg', 'box-lat-min', 'box-lon-deg', 'box-lon-min', 'box-time-diff',
                 'box-year', 'box-month', 'box-day', 'box-name'];
const kYokohama2000 = ['35', '27', '139', '39', '9', '2000', '1', '1', '横浜'];

// A fresh profile's page (nothing stored) at the page's address with query,
// its console errors collected; close() fails the test on any.
async function open(browser, { stored, viewport, query = '', url, context: made } = {}) {
  const context = made ?? await browser.newContext(viewport ? { viewport } : {});
  const page = await context.newPage();
  page.setDefaultTimeout(10000);
  const errors = [];
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('dialog', (d) => { errors.push('a script dialog: ' + d.message()); d.dismiss(); });
  await page.goto((url ?? pageUrl()) + query);
  await page.waitForSelector('html[data-ready="true"]');
  if (stored !== undefined) {
    await page.evaluate((s) => localStorage.setItem('tolmeri.ini', s), stored);
    await page.reload();
    await page.waitForSelector('html[data-ready="true"]');
  }
  return {
    page,
    context,
    errors,
    async close() {
      assert.deepEqual(errors, [], 'console errors');
      await context.close();
    },
  };
}

const boxes = (page) =>
  page.evaluate((ids) => ids.map((id) => document.getElementById(id).value), kBoxIds);
const chartTexts = (page) =>
  page.evaluate(() => [...document.querySelectorAll('#chart text')].map((t) => t.textContent));
const chartTitle = async (page) => (await chartTexts(page)).at(-1);
// Until the command under way has done all it does.
const idle = (page) => page.waitForSelector('html:not([data-busy])', { state: 'attached' });

// Types into the boxes by their index (kBoxIds).
async function type(page, changes) {
  for (const [box, text] of Object.entries(changes)) await page.fill('#' + kBoxIds[box], text);
}

// Presses a command's button and answers each of its messages with OK,
// returning what they said ("!" before a message with the exclamation icon)
// and the boxes after each.
async function press(page, button, count) {
  const shown = () => page.evaluate(() => Number(document.getElementById('message').dataset.shown ?? 0));
  const first = await shown();
  await page.click('#' + button);
  const seen = [];
  for (let i = 1; i <= count; ++i) {
    // The next message is up once the previous one's remedy was shown.
    await page.waitForSelector(`#message[open][data-shown="${first + i}"]`);
    if (seen.length > 0) seen.at(-1).boxes = await boxes(page);
    const text = await page.textContent('#message-text');
    const loud = await page.evaluate(() =>
      document.getElementById('message').classList.contains('exclamation'));
    seen.push({ text: (loud ? '!' : '') + text });
    await page.click('#message button');
  }
  await page.waitForFunction(() => !document.querySelector('dialog[open]'));
  await idle(page);
  if (seen.length > 0) seen.at(-1).boxes = await boxes(page);
  assert.equal(await shown(), first + count, 'no further message');
  return seen;
}

module.exports = { kBoxIds, kYokohama2000, open, boxes, chartTexts, chartTitle, idle, type, press };
