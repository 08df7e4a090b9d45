// The README's pictures of the web edition, taken by the tests' browser: the
// page at a phone's width (375 CSS pixels) and at a desktop window's size,
// on 東京 for 2026-06-21 (chosen from the list and typed, then 計算実行).
//   NODE_PATH=web/node_modules node web/tests/screenshots.js [folder]   (docs/ by default)
'use strict';
const path = require('node:path');
const { launch, pageUrl } = require('./browser.js');

const folder = process.argv[2] || path.join(__dirname, '../../docs');
const kViews = [
  { file: 'web-phone.png', viewport: { width: 375, height: 812 }, fullPage: true },
  { file: 'web-desktop.png', viewport: { width: 1280, height: 760 }, fullPage: false },
];

(async () => {
  const browser = await launch();
  try {
    for (const view of kViews) {
      const page = await (await browser.newContext({ viewport: view.viewport })).newPage();
      await page.goto(pageUrl());
      await page.waitForSelector('html[data-ready="true"]');
      await page.click('#choose-place');
      await page.click('#place-13'); // 東京
      await page.click('#places-ok');
      await page.waitForSelector('html:not([data-busy])', { state: 'attached' });
      await page.fill('#box-year', '2026');
      await page.fill('#box-month', '6');
      await page.fill('#box-day', '21');
      await page.click('#calculate');
      await page.waitForSelector('html:not([data-busy])', { state: 'attached' });
      await page.screenshot({ path: path.join(folder, view.file), fullPage: view.fullPage });
      console.log(path.join(folder, view.file));
    }
  } finally {
    await browser.close();
  }
})();
