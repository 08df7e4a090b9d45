// The README's pictures of the web edition, taken by the tests' browser,
// each view at a phone's width (375 CSS pixels) and at a desktop window's
// size, from the page served as a static host serves it:
//   web-day-*        江戸, 安政7年3月3日 by its link, with 朝五つ半 and 09:00
//                    answered beside the chart (the day's names, its Moon)
//   web-year-*       the same place's year with the Moon, the read-out under
//                    the pointer
//   web-export-*     the downloads, after 書き出す (the command line that
//                    writes the same bytes)
//   web-historical-* 歴史地名から選ぶ, searched for 東海道
// On a phone the pictures hold the view alone (or the dialog), on a desktop
// the whole window.
//   NODE_PATH=web/node_modules node web/tests/screenshots.js [folder]   (docs/ by default)
'use strict';
const path = require('node:path');
const { launch, siteFolder } = require('./browser.js');
const { serve } = require('./serve.js');

const folder = process.argv[2] || path.join(__dirname, '../../docs');
const kEdo = '?place=江戸&date=安政7年3月3日';
const kPhone = { name: 'phone', viewport: { width: 375, height: 812 } };
const kDesktop = { name: 'desktop', viewport: { width: 1280, height: 800 } };
const idle = (page) => page.waitForSelector('html:not([data-busy])', { state: 'attached' });

// Each view: its link, what a user does there (on the screen named), and
// what its pictures hold: the elements whose box is clipped, or the whole
// window.
const kViews = [
  { name: 'day', query: kEdo + '&time=朝五つ半&at=09:00', clip: { phone: ['#views'], desktop: ['#views'] } },
  {
    name: 'year', query: kEdo + '&view=year&moon=1', clip: { phone: ['#views'], desktop: ['#views'] },
    async act(page, screen) {
      await page.waitForSelector('#year-chart svg');
      if (screen === kDesktop) {
        await page.uncheck('#year-moon');
        await idle(page);
      }
      // A phone's finger zooms in twice, to the summer's nights.
      if (screen === kPhone) {
        await page.click('#year-zoom-in');
        await page.click('#year-zoom-in');
        await page.evaluate(() => { document.getElementById('year-chart').scrollLeft = 240; });
      }
      await page.locator('#year-chart').scrollIntoViewIfNeeded();
      // The pointer on the chart, a little more than half across and down.
      const box = await page.locator('#year-chart').boundingBox();
      await page.mouse.move(box.x + box.width * 0.6, box.y + box.height * 0.58);
    },
  },
  {
    name: 'export', query: kEdo + '&view=export&days=30',
    clip: { phone: ['#views'], desktop: ['header', '#boxes', '#typed-form', '.tabs [role=tab]', '#view-export form'] },
    async act(page) {
      await Promise.all([page.waitForEvent('download'), page.click('#download')]);
    },
  },
  {
    name: 'historical', query: '', clip: { desktop: ['#historical'] },
    async act(page) {
      await page.click('#choose-historical');
      await page.waitForSelector('#historical[open]');
      await page.type('#historical-search', '東海道');
    },
  },
];

// The box around every element of the selectors, in the page's pixels.
async function around(page, selectors) {
  const boxes = [];
  for (const selector of selectors) {
    for (const element of await page.locator(selector).all())
      boxes.push(await element.evaluate((e) => {
        const b = e.getBoundingClientRect();
        return { x: b.x + scrollX, y: b.y + scrollY, width: b.width, height: b.height };
      }));
  }
  const left = Math.min(...boxes.map((b) => b.x));
  const top = Math.min(...boxes.map((b) => b.y));
  const right = Math.max(...boxes.map((b) => b.x + b.width));
  const bottom = Math.max(...boxes.map((b) => b.y + b.height));
  return { x: left, y: top, width: right - left, height: bottom - top };
}

(async () => {
  const site = await serve(siteFolder());
  const browser = await launch();
  try {
    for (const view of kViews) {
      for (const screen of [kPhone, kDesktop]) {
        const context = await browser.newContext({ viewport: screen.viewport, acceptDownloads: true });
        const page = await context.newPage();
        await page.goto(site.url + view.query);
        await page.waitForSelector('html[data-ready="true"]');
        await idle(page);
        if (view.act) await view.act(page, screen);
        const file = path.join(folder, `web-${view.name}-${screen.name}.png`);
        const clip = view.clip[screen.name];
        if (clip) await page.screenshot({ path: file, fullPage: true, clip: await around(page, clip) });
        else await page.screenshot({ path: file });
        console.log(file);
        await context.close();
      }
    }
  } finally {
    await browser.close();
    await site.close();
  }
})();
