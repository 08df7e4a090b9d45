// The web edition in a real browser (Debian's Chromium), driven as a user
// drives it: the page opened from disk, the window's boxes, its nine checks
// and their messages, the preset list by mouse and keyboard, 保存 and a
// reload, today, the chart's colours read from a screenshot, a phone's
// width, hostile stored values; and the page's numbers against
// tolmeri-hours --format json for random places and dates by both Suns.
// No console error on any path.
'use strict';
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const { after, before, describe, test } = require('node:test');
const { launch, pageUrl, siteFolder } = require('./browser.js');

const { kBoxIds, kYokohama2000, boxes, chartTexts, chartTitle, idle, type, press,
        open: openPage } = require('./driver.js');

let browser;
before(async () => {
  browser = await launch();
});
after(async () => {
  await browser.close();
});

const open = (options) => openPage(browser, options);

describe('opening', () => {
  test('from disk, on the first-start place and date, with the chart of Yokohama 2000-01-01', async () => {
    assert.match(pageUrl(), /^file:\/\//);
    const { page, close } = await open();
    assert.deepEqual(await boxes(page), kYokohama2000);
    const texts = await chartTexts(page);
    assert.equal(texts.length, 31);
    assert.equal(texts[0], '暁九つ (子)  23:45');
    assert.equal(texts[1], '-暁九つ半  00:50');
    assert.equal(texts[12], '昼九つ (午)  11:45');
    assert.deepEqual(texts.slice(25), ['日出', '06:50', '日没', '16:39', '南中',
                                       '横浜 － 西暦 2000年 1月 1日']);
    await close();
  });

  test('the policy forbids inline scripts, and typed text reaches the page as text', async () => {
    const html = fs.readFileSync(`${siteFolder()}/index.html`, 'utf8');
    const policy = html.match(/Content-Security-Policy"\s+content="([^"]+)"/)[1];
    assert.match(policy, /script-src 'self' 'wasm-unsafe-eval'/);
    assert.doesNotMatch(policy, /unsafe-inline|'unsafe-eval'/);
    assert.doesNotMatch(html, /<script>|\son[a-z]+=/);
    const { page, close } = await open();
    await type(page, { 8: '<b>x' });
    await press(page, 'calculate', 0);
    assert.equal(await chartTitle(page), '<b>x － 西暦 2000年 1月 1日');
    assert.equal(await page.locator('#chart b').count(), 0);
    await close();
  });
});

describe('計算実行', () => {
  const kYear = '「年」に指定できる値は0～2200です。元に戻します。';
  const kInteger = '!整数を入力してください。';
  // One box at a time over Yokohama 2000-01-01: what 計算実行 says, and the
  // box afterwards.
  const cases = [
    { box: 5, text: '2201', said: [kYear], shown: '2000' },
    { box: 5, text: '-1', said: [kYear], shown: '2000' },
    { box: 6, text: '13', said: ['「月」に指定できる値は1～12です。元に戻します。'], shown: '1' },
    { box: 7, text: '32', said: ['「日」に指定できる値は 1～31 です。元に戻します。'], shown: '1' },
    { box: 0, text: '55', said: ['「緯度」に指定できる値は -54～54 です。元に戻します。'], shown: '35' },
    { box: 1, text: '60', said: ['緯度の「分」に指定できる値は 0～59 です。元に戻します。'], shown: '27' },
    { box: 2, text: '-181', said: ['「経度」に指定できる値は -180～180 です。元に戻します。'], shown: '139' },
    { box: 3, text: '60', said: ['経度の「分」に指定できる値は 0～59 です。元に戻します。'], shown: '39' },
    { box: 4, text: '12', said: ['時差の指定が変です。修正します。'], shown: '9' },
    { box: 4, text: '6', said: ['時差の指定が変です。修正します。'], shown: '9' },
    { box: 4, text: '11', said: [], shown: '11' },
    { box: 5, text: '', said: [kInteger], shown: '' },
    { box: 1, text: '+0', said: [kInteger], shown: '+0' },
    { box: 7, text: '1日', said: [kInteger], shown: '1日' },
    { box: 1, text: '00', said: [], shown: '00' },
    { box: 5, text: '2200', said: [], shown: '2200' },
  ];
  test('each of the nine checks, its message and its box restored or corrected', async () => {
    const { page, close } = await open();
    for (const c of cases) {
      await type(page, Object.fromEntries(kBoxIds.map((_, i) => [i, kYokohama2000[i]])));
      await type(page, { [c.box]: c.text });
      const said = await press(page, 'calculate', c.said.length);
      assert.deepEqual(said.map((s) => s.text), c.said, `${kBoxIds[c.box]} ${c.text}`);
      assert.equal((await boxes(page))[c.box], c.shown, `${kBoxIds[c.box]} ${c.text}`);
    }
    await close();
  });

  test('a box without an integer keeps the focus with its text selected, and the date stays', async () => {
    const { page, close } = await open();
    await type(page, { 0: '-33', 5: 'abc', 6: '6' });
    await press(page, 'calculate', 1);
    const focus = await page.evaluate(() => {
      const e = document.activeElement;
      return [e.id, e.selectionStart, e.selectionEnd];
    });
    assert.deepEqual(focus, ['box-year', 0, 3]);
    // The latitude was taken before the year; the month after it was not.
    assert.equal(await chartTitle(page), '横浜 － 西暦 2000年 1月 1日');
    await close();
  });

  test('several wrong boxes speak one after another in check order, each box restored as it goes', async () => {
    const { page, close } = await open();
    await type(page, { 5: '2201', 6: '13', 2: '181', 4: '3' });
    const said = await press(page, 'calculate', 4);
    assert.deepEqual(said.map((s) => s.text), [
      '「年」に指定できる値は0～2200です。元に戻します。',
      '「月」に指定できる値は1～12です。元に戻します。',
      '「経度」に指定できる値は -180～180 です。元に戻します。',
      '時差の指定が変です。修正します。',
    ]);
    assert.deepEqual(said.map((s) => [s.boxes[5], s.boxes[6], s.boxes[2], s.boxes[4]]), [
      ['2000', '13', '181', '3'], ['2000', '1', '181', '3'], ['2000', '1', '139', '3'],
      ['2000', '1', '139', '9']]);
    await close();
  });

  test('the name is counted in CP932 bytes: typing stops at 12, a stored longer one is refused twice', async () => {
    const { page, close } = await open();
    await page.fill('#box-name', '');
    await page.type('#box-name', '東京都千代田区');
    assert.equal(await page.inputValue('#box-name'), '東京都千代田');
    await page.fill('#box-name', '');
    await page.type('#box-name', 'ABCDEFGHIJKLM');
    assert.equal(await page.inputValue('#box-name'), 'ABCDEFGHIJKL');
    await page.fill('#box-name', 'a😀é\tb');
    assert.equal(await page.inputValue('#box-name'), 'ab');
    await close();

    const long = await open({ stored: '[Location]\nLocation Name=東京都千代田区神田\n' });
    assert.equal(await long.page.inputValue('#box-name'), '東京都千代田区神田');
    const said = await press(long.page, 'calculate', 2);
    assert.deepEqual(said.map((s) => s.text), ['!12 文字以内で入力してください。',
                                               '地名は全角６文字以内にしてください。元に戻します。']);
    assert.equal(await long.page.inputValue('#box-name'), '東京都千代田区神田');
    await long.close();
  });
});

describe('the preset list', () => {
  const listed = (page) => page.evaluate(() =>
    [...document.querySelectorAll('#place-list [role=option]')].map((li) => li.textContent));

  test('53 places from 根室 to Lima; the mouse picks Sydney, and the chart waits for 計算実行', async () => {
    const { page, close } = await open();
    await page.click('#choose-place');
    const items = await listed(page);
    assert.equal(items.length, 53);
    assert.equal(items[0], '根室+43:20+145:35+09');
    assert.equal(items[52], 'Lima-12:01-077:07-05');
    await page.click('#places-ok'); // nothing selected: the list stays open
    assert.equal(await page.locator('#places[open]').count(), 1);
    await page.click('#place-50');
    await page.click('#places-ok');
    await idle(page);
    assert.deepEqual(await boxes(page), ['-33', '52', '151', '12', '10', '2000', '1', '1', 'Sydney']);
    assert.equal(await chartTitle(page), '横浜 － 西暦 2000年 1月 1日');
    await press(page, 'calculate', 0);
    assert.equal(await chartTitle(page), 'Sydney － 西暦 2000年 1月 1日');
    await close();
  });

  test('by keyboard: arrows, End and Enter choose; Escape applies nothing', async () => {
    const { page, close } = await open();
    await page.focus('#choose-place');
    await page.keyboard.press('Enter');
    await page.waitForSelector('#places[open]');
    await page.keyboard.press('End');
    await page.keyboard.press('ArrowUp');
    await page.keyboard.press('Enter');
    await idle(page);
    assert.deepEqual(await boxes(page), ['40', '46', '-73', '52', '-5', '2000', '1', '1', 'New York']);
    await page.click('#choose-place');
    await page.waitForSelector('#places[open]');
    await page.keyboard.press('Home');
    for (let i = 0; i < 14; ++i) await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Escape');
    await idle(page);
    assert.equal(await page.inputValue('#box-name'), 'New York');
    await page.click('#choose-place');
    await page.waitForSelector('#places[open]');
    await page.keyboard.press('PageDown'); // from nothing: the tenth place on
    await page.keyboard.press('PageDown');
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Enter');
    await idle(page);
    assert.deepEqual(await boxes(page), ['35', '10', '136', '55', '9', '2000', '1', '1', '名古屋']);
    await close();
  });
});

describe('保存, today, stored values', () => {
  test('保存 keeps the place and the date; the next visit opens on them', async () => {
    const { page, close } = await open();
    await page.click('#choose-place');
    await page.click('#place-22'); // 津
    await page.click('#places-ok');
    await idle(page);
    await type(page, { 5: '1703', 6: '1', 7: '30' });
    await press(page, 'save', 0);
    assert.equal(await page.textContent('#status'),
                 '場所と日付を保存しました。次にこのページを開くと、この場所と日付で始まります。');
    const stored = await page.evaluate(() => localStorage.getItem('tolmeri.ini'));
    assert.equal(stored, '[Location]\nLocation Name=津\nLatitude Degrees=34\nLatitude Minutes=44\n' +
      'Longitude Degrees=136\nLongitude Minutes=31\nTime Difference=9\n[Time]\nYear=1703\n' +
      'Month=1\nDay=30\n');
    await page.reload();
    await page.waitForSelector('html[data-ready="true"]');
    assert.deepEqual(await boxes(page), ['34', '44', '136', '31', '9', '1703', '1', '30', '津']);
    assert.equal(await chartTitle(page), '津 － 西暦 1703年 1月 30日');
    // A refused box saves nothing.
    await type(page, { 7: 'x' });
    assert.deepEqual((await press(page, 'save', 1)).map((s) => s.text), ['!整数を入力してください。']);
    assert.equal(await page.textContent('#status'), '');
    assert.equal(await page.evaluate(() => localStorage.getItem('tolmeri.ini')), stored);
    await close();
  });

  test('a browser that keeps nothing opens on the first-start values and says so when 保存 fails', async () => {
    const context = await browser.newContext();
    await context.addInitScript(() => {
      Storage.prototype.getItem = () => { throw new DOMException('denied', 'SecurityError'); };
      Storage.prototype.setItem = () => { throw new DOMException('full', 'QuotaExceededError'); };
    });
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(e.message));
    await page.goto(pageUrl());
    await page.waitForSelector('html[data-ready="true"]');
    assert.deepEqual(await boxes(page), kYokohama2000);
    const said = await press(page, 'save', 1);
    assert.deepEqual(said.map((s) => s.text),
                     ['!設定を保存できませんでした。\nこのブラウザーはこのページの保存を受け付けていません。']);
    assert.equal(await page.textContent('#status'), '');
    assert.deepEqual(errors, []);
    await context.close();
  });

  test('日付を今日に設定 puts the computer\'s date in the boxes; the chart keeps its date', async () => {
    const { page, close } = await open();
    await page.clock.setFixedTime(new Date('2026-06-21T08:00:00+09:00'));
    await type(page, { 0: '40' });
    await page.click('#set-today');
    await idle(page);
    assert.deepEqual(await boxes(page), [...kYokohama2000.slice(0, 5), '2026', '6', '21', '横浜']);
    assert.equal(await chartTitle(page), '横浜 － 西暦 2000年 1月 1日');
    await press(page, 'calculate', 0);
    assert.equal(await chartTitle(page), '横浜 － 西暦 2026年 6月 21日');
    await close();
  });

  test('bad and hostile stored values are read as the window reads a damaged file', async () => {
    const cases = [
      { stored: '[Time]\nYear=2001\n', boxes: [...kYokohama2000.slice(0, 5), '2001', '1', '1', '横浜'] },
      { stored: '{"not": "ini"}', boxes: kYokohama2000 },
      { stored: 'x'.repeat(3000000), boxes: kYokohama2000 },
      { stored: '[Location]\nLocation Name=<img src=x onerror=alert(1)>\nLatitude Degrees=99999999999\n' +
                'Longitude Degrees=-2147483648\nTime Difference=abc\n[Time]\nYear=-2147483648\nMonth=13\nDay=0\n',
        boxes: ['1215752191', '27', '-2147483648', '39', '0', '-2147483648', '13', '0', '<img src=x onerror='] },
      { stored: '[location]\nlatitude degrees = 90\n[TIME]\nyear="1600"\n',
        boxes: ['90', '27', '139', '39', '9', '1600', '1', '1', '横浜'] },
    ];
    for (const c of cases) {
      const { page, close } = await open({ stored: c.stored });
      assert.deepEqual(await boxes(page), c.boxes, c.stored.slice(0, 40));
      const texts = await chartTexts(page);
      assert.equal(texts.length, 31);
      assert.ok(texts.every((t) => !/NaN|undefined|Infinity/.test(t)), texts.join());
      assert.equal(await page.locator('#chart img').count(), 0);
      await close();
    }
  });
});

describe('the chart', () => {
  // Colours of the bands from the top of the chart down: each pair of
  // boundaries (0-2, 2-4, ... 22-24) in its band's colour.
  const kBands = [[0, 0, 200], [40, 40, 255], [90, 90, 255], [255, 195, 60], [255, 225, 60],
                  [255, 255, 60]];
  const kOrder = [0, 1, 2, 3, 4, 5, 5, 4, 3, 2, 1, 0];

  test('seven nested bands in the window\'s colours and order, read from a screenshot', async () => {
    // 602 pixels high: the chart at its own size, a pixel of it one of the screen's.
    const { page, close } = await open({ viewport: { width: 1000, height: 602 } });
    const svg = page.locator('#chart svg');
    const png = await svg.screenshot();
    const geometry = await page.evaluate(() => {
      const s = document.querySelector('#chart svg');
      const box = s.getBoundingClientRect();
      const view = s.viewBox.baseVal;
      const outer = s.querySelector('.bands rect').getBBox();
      return { scale: box.width / view.width, left: view.x, outer: { x: outer.x, y: outer.y } };
    });
    const { PNG } = pngReader();
    const image = PNG(png);
    const at = (x, y) => image.pixel(Math.round((x - geometry.left) * geometry.scale),
                                     Math.round(y * geometry.scale));
    // Each even boundary's row is where its text cell is centred.
    const ys = await page.evaluate(() =>
      [...document.querySelectorAll('#chart g.row rect')].map((r) => r.y.baseVal.value + 6));
    const x = geometry.outer.x + 3;
    for (let k = 0; k < 12; ++k) {
      const y = (ys[2 * k] + ys[2 * k + 2]) / 2;
      assert.deepEqual(at(x, y), kBands[kOrder[k]], `band between boundaries ${2 * k} and ${2 * k + 2}`);
    }
    for (let i = 0; i <= 24; i += 2)
      assert.deepEqual(at(x, ys[i]), [0, 0, 0], `the line of boundary ${i}`);
    await close();
  });

  test('a phone\'s width: no sideways scrolling, every text whole inside the picture', async () => {
    const { page, close } = await open({ viewport: { width: 375, height: 740 } });
    await type(page, { 8: '東京都千代田' });
    await type(page, { 6: '12', 7: '31' });
    await press(page, 'calculate', 0);
    const fit = await page.evaluate(() => {
      const s = document.querySelector('#chart svg');
      const box = s.getBoundingClientRect();
      const view = s.viewBox.baseVal;
      const texts = [...s.querySelectorAll('text')].map((t) => {
        const b = t.getBBox();
        return { x: b.x, width: b.width };
      });
      return {
        scrollWidth: document.documentElement.scrollWidth,
        right: box.right,
        inside: texts.every((b) => b.x >= view.x && b.x + b.width <= view.x + view.width),
        fontPixels: 12 * box.width / view.width,
      };
    });
    assert.ok(fit.scrollWidth <= 375, `page ${fit.scrollWidth} px wide`);
    assert.ok(fit.right <= 375);
    assert.ok(fit.inside);
    assert.ok(fit.fontPixels >= 10, `rows ${fit.fontPixels} px high`);
    await close();
  });

  test('the printed page is the chart alone', async () => {
    const { page, close } = await open();
    await page.emulateMedia({ media: 'print' });
    assert.equal(await page.isVisible('#boxes'), false);
    assert.equal(await page.isVisible('#chart svg'), true);
    const pdf = await page.pdf({ format: 'A4' });
    assert.equal(pdf.subarray(0, 5).toString(), '%PDF-');
    await close();
  });
});

// A PNG decoder for the screenshots: 8-bit RGB or RGBA, not interlaced, as
// Chromium writes them.
function pngReader() {
  const zlib = require('node:zlib');
  return {
    PNG(buffer) {
      let offset = 8;
      let width = 0;
      let height = 0;
      let channels = 0;
      const data = [];
      while (offset < buffer.length) {
        const length = buffer.readUInt32BE(offset);
        const kind = buffer.toString('latin1', offset + 4, offset + 8);
        const body = buffer.subarray(offset + 8, offset + 8 + length);
        if (kind === 'IHDR') {
          width = body.readUInt32BE(0);
          height = body.readUInt32BE(4);
          channels = { 2: 3, 6: 4 }[body[9]];
          assert.ok(body[8] === 8 && channels && body[12] === 0, 'an 8-bit RGB(A) PNG');
        } else if (kind === 'IDAT') {
          data.push(body);
        }
        offset += 12 + length;
      }
      const raw = zlib.inflateSync(Buffer.concat(data));
      const stride = width * channels;
      const pixels = Buffer.alloc(stride * height);
      for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)];
        const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
        for (let i = 0; i < stride; ++i) {
          const a = i >= channels ? pixels[y * stride + i - channels] : 0;
          const b = y > 0 ? pixels[(y - 1) * stride + i] : 0;
          const c = i >= channels && y > 0 ? pixels[(y - 1) * stride + i - channels] : 0;
          const p = a + b - c;
          const predictor = [0, a, b, (a + b) >> 1,
            Math.abs(p - a) <= Math.abs(p - b) && Math.abs(p - a) <= Math.abs(p - c) ? a
              : Math.abs(p - b) <= Math.abs(p - c) ? b : c][filter];
          pixels[y * stride + i] = (line[i] + predictor) & 0xFF;
        }
      }
      return {
        width,
        height,
        pixel(x, y) {
          const i = y * stride + x * channels;
          return [pixels[i], pixels[i + 1], pixels[i + 2]];
        },
      };
    },
  };
}
