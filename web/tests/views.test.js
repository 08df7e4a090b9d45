// The web edition beyond the window, in Debian's Chromium as a user drives
// it: the date as a text writes it and every refusal, hour names by both
// readings, the hour of a moment, the Moon of a day, the choices of the
// reckoning, downloads byte for byte what tolmeri-hours writes for the same
// options, links that reopen the very view in a fresh browser, back and
// forward, hostile links, the page without a network after one visit, the
// whole page by keyboard alone, labels and the screen reader's table, dark
// surroundings. No console error on any path.
'use strict';
const assert = require('node:assert/strict');
const { execFileSync, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const { after, before, describe, test } = require('node:test');
const { launch, siteFolder } = require('./browser.js');
const { boxes, chartTexts, chartTitle, idle, press, open: openPage } = require('./driver.js');
const { serve } = require('./serve.js');

const kHours = process.env.TOLMERI_HOURS ||
  path.join(__dirname, '../../build/release/bin/tolmeri-hours');

let browser;
before(async () => {
  assert.ok(fs.existsSync(kHours), `no tolmeri-hours at ${kHours}`);
  browser = await launch();
});
after(async () => {
  await browser.close();
});

const open = (options) => openPage(browser, options);

// What tolmeri-hours writes for args, or its one line of refusal without
// the program's name.
const cli = (args) => execFileSync(kHours, args, { encoding: 'utf8' });
function cliRefusal(args) {
  const run = spawnSync(kHours, args, { encoding: 'utf8' });
  assert.equal(run.status, 2, args.join(' '));
  return run.stderr.replace(/^tolmeri-hours: /, '').trimEnd();
}

// 江戸, a historical place: in a link by its coordinates (which the page
// knows for 江戸's), to tolmeri-hours by its name, as the page hands it on.
const kEdo = ['--place', '江戸'];
const kEdoLink = '?name=江戸&lat=35:41&lon=139:45&tz=9';

const answer = (page, id) => page.evaluate((i) => {
  const e = document.getElementById(i);
  return { text: e.textContent, refused: e.classList.contains('refused') };
}, id);

// Types text into a field key by key, as a user does.
async function typeInto(page, id, text) {
  await page.fill('#' + id, '');
  await page.type('#' + id, text);
}

describe('the date as written', () => {
  test('every form the command line takes is named as it is typed; every refusal is the core\'s', async () => {
    const { page, close } = await open();
    const forms = [
      ['2026-06-21', '2026-06-21  和暦 令和8年6月21日'],
      ['１８６０／３／２４', '1860-03-24  和暦 安政7年3月3日'],
      ['西暦2026年6月21日', '2026-06-21  和暦 令和8年6月21日'],
      ['二〇二六年六月二十一日', '2026-06-21  和暦 令和8年6月21日'],
      ['旧暦1860年閏3月1日', '1860-04-21  和暦 万延元年閏3月1日'],
      ['安政7年3月3日', '1860-03-24  和暦 安政7年3月3日  旧暦 1860年3月3日  節気 春分（1860-03-20 から）  干支 丁卯（庚申年）  六曜 大安'],
      ['慶長五年九月十五日', '1600-10-21  和暦 慶長5年9月15日'],
      ['安政7年3月20日', '1860-04-10  和暦 万延元年3月20日'],
    ];
    await typeInto(page, 'typed-date', forms[5][0]);
    for (const [text, named] of forms) {
      await page.fill('#typed-date', text);
      const a = await answer(page, 'typed-date-answer');
      assert.ok(a.text.startsWith(named), `${text}: ${a.text}`);
      assert.equal(a.refused, false, text);
    }
    assert.match((await answer(page, 'typed-date-answer')).text,
                 /\n注  安政7年3月20日 は 万延元年3月20日（3月18日に改元）/);
    for (const text of ['安政9年3月3日', '2001-02-31', '26-06-21', '慶長25年1月1日', 'あした']) {
      await page.fill('#typed-date', text);
      assert.deepEqual(await answer(page, 'typed-date-answer'),
                       { text: cliRefusal(['--date', text]), refused: true }, text);
    }
    // Enter uses the date: the boxes, 計算実行, the chart of that day.
    await typeInto(page, 'typed-date', '安政七年三月三日');
    await page.press('#typed-date', 'Enter');
    await idle(page);
    assert.deepEqual((await boxes(page)).slice(5, 8), ['1860', '3', '24']);
    assert.equal(await chartTitle(page), '横浜 － 西暦 1860年 3月 24日');
    assert.match(await page.inputValue('#link'), /date=%E5%AE%89%E6%94%BF%E4%B8%83/);
    await close();
  });
});

describe('hour names, moments and the Moon', () => {
  test('hour names by every reading, each with its start and end as tolmeri-hours gives them', async () => {
    const { page, close } = await open({ query: kEdoLink + '&date=安政7年3月3日' });
    for (const name of ['朝五つ半', '辰の上刻', '五つ時', '丑三つ', '子の刻', '卯の初刻']) {
      await typeInto(page, 'hour-name', name);
      const a = await answer(page, 'hour-name-answer');
      assert.equal(a.text, cli([...kEdo, '--date', '安政7年3月3日', '--time', name]), name);
    }
    assert.match((await answer(page, 'hour-name-answer')).text, /卯の初刻/);
    await page.fill('#hour-name', '辰の上刻');
    const both = (await answer(page, 'hour-name-answer')).text;
    assert.match(both, /寛政12年の定め          1860-03-24 07:20–08:05/);
    assert.match(both, /寛政6年 大目付の読み    1860-03-24 06:14–06:58/);
    await page.fill('#hour-name', '朝十つ');
    assert.deepEqual(await answer(page, 'hour-name-answer'), {
      text: cliRefusal(['--time', '朝十つ']).replace(/^--time: /, ''), refused: true });
    await close();
  });

  test('the hour of a moment with the Moon\'s altitude, as --at answers', async () => {
    const { page, close } = await open({ query: kEdoLink + '&date=安政7年3月3日' });
    await typeInto(page, 'moment', '9:00');
    assert.equal((await answer(page, 'moment-answer')).text,
                 cli([...kEdo, '--date', '安政7年3月3日', '--at', '9:00']));
    assert.match((await answer(page, 'moment-answer')).text, /月        高度 \+34\.8°/);
    await page.fill('#moment', '2026-06-21T15:00');
    assert.equal((await answer(page, 'moment-answer')).text,
                 cli([...kEdo, '--at', '2026-06-21T15:00']));
    await page.fill('#moment', '25:00');
    assert.deepEqual(await answer(page, 'moment-answer'),
                     { text: cliRefusal(['--at', '25:00']), refused: true });
    await close();
  });

  test('the Moon of 元禄15年12月14日 at 江戸, each event with its temporal hour', async () => {
    const { page, close } = await open({ query: kEdoLink + '&date=元禄15年12月14日' });
    assert.equal(await page.textContent('#day-moon'),
                 '月齢 12.6  月の出 14:32（昼八つ）  月の入 04:26（暁七つ）');
    assert.match(await page.textContent('#day-names'), /^1703-01-30  和暦 元禄15年12月14日/);
    await close();
  });
});

describe('historical places', () => {
  const listed = (page) => page.evaluate(() =>
    [...document.querySelectorAll('#historical-list [role=option]')].map((li) =>
      [...li.children].map((c) => c.textContent).join('|')));

  test('found by name, reading, romaji and route as typed; OK fills the boxes; the link names the place', async () => {
    const { page, close } = await open();
    await page.click('#choose-historical');
    await page.waitForSelector('#historical[open]');
    assert.equal(await page.textContent('#historical-count'), '370 か所');
    assert.match(await page.textContent('#historical-credits'), /doi:10\.20676\/00000456, CC BY 4\.0/);
    for (const [typed, first] of [['江戸', '江戸|えど|都市|+35:41|+139:45'],
                                  ['しながわ', '品川宿|しながわしゅく|東海道1|+35:37|+139:44'],
                                  ['shinagawa-juku', '品川宿|しながわしゅく|東海道1|+35:37|+139:44'],
                                  ['東海道36', '赤坂宿|あかさかしゅく|東海道36|+34:52|+137:18']]) {
      await page.fill('#historical-search', '');
      await page.type('#historical-search', typed);
      assert.equal((await listed(page))[0], first, typed);
    }
    // The chosen place's point and its source.
    assert.match(await page.textContent('#historical-detail'),
                 /^赤坂宿（あかさかしゅく、akasaka-shuku）  東海道36  緯度 34度52分  経度 137度18分  時差 9\n出典: /);
    // The stations of the 中山道 in their order, by keyboard: Down into the
    // list, End, Enter.
    await page.fill('#historical-search', '');
    await page.selectOption('#historical-kind', { label: '宿場（中山道）' });
    assert.equal((await listed(page))[0], '日本橋|にほんばし|東海道0 中山道0|+35:41|+139:47');
    await page.focus('#historical-search');
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('End');
    await page.keyboard.press('Enter');
    await idle(page);
    const last = await page.evaluate(() => [...document.querySelectorAll('#box-name')].map((b) => b.value)[0]);
    await press(page, 'calculate', 0);
    assert.equal(await chartTitle(page), `${last} － 西暦 2000年 1月 1日`);
    // A long name as the name box takes it; the link names the place whole.
    await page.click('#choose-historical');
    await page.fill('#historical-search', '大坂西町奉行所');
    assert.match(await page.textContent('#historical-detail'), /名前の欄には「大坂西町奉行」と入ります（全角 6 文字まで）/);
    await page.click('#historical-ok');
    await idle(page);
    assert.deepEqual(await boxes(page), ['34', '41', '135', '31', '9', '2000', '1', '1', '大坂西町奉行']);
    await press(page, 'calculate', 0);
    assert.match(await page.inputValue('#link'), /\?place=%E5%A4%A7%E5%9D%82%E8%A5%BF%E7%94%BA%E5%A5%89%E8%A1%8C%E6%89%80&/);
    // Escape applies nothing.
    await page.click('#choose-historical');
    await page.fill('#historical-search', '江戸');
    await page.keyboard.press('Escape');
    await idle(page);
    assert.equal(await page.inputValue('#box-name'), '大坂西町奉行');
    await close();
  });
});

describe('choices', () => {
  test('each choice is the command line\'s, changes the chart at once and is carried by the link', async () => {
    const { page, close } = await open({ query: kEdoLink + '&date=1700-06-21' });
    const labels = await page.evaluate(() => [...document.querySelectorAll('#choices select')].map((s) => [
      s.labels[0].textContent, [...s.options].map((o) => o.value)]));
    assert.deepEqual(labels, [
      ['明六つ・暮六つ', ['depression', '36min', 'sunrise', 'auto']], ['時計', ['daily', 'sekki']],
      ['太陽', ['window', 'precise']], ['日の始まり', ['', 'dawn', 'midnight']]]);
    const rowTimes = async () => (await chartTexts(page)).slice(0, 25).map((t) => t.slice(-5));
    for (const [select, value, args] of [['dawn', '36min', ['--dawn', '36min']],
                                         ['steps', 'sekki', ['--dawn', '36min', '--steps', 'sekki']],
                                         ['sun', 'precise', ['--dawn', '36min', '--steps', 'sekki', '--sun', 'precise']]]) {
      await page.selectOption('#choice-' + select, value);
      await idle(page);
      const day = JSON.parse(cli([...kEdo, '--date', '1700-06-21', '--format', 'json', ...args])).days[0];
      assert.deepEqual(await rowTimes(page), day.times, value);
      assert.match(await page.inputValue('#link'), new RegExp(`${select}=${value}`));
    }
    await close();
  });
});

describe('the year chart', () => {
  // The chart's plot and its lines as drawn: each polyline's points and
  // stroke.
  const drawn = (page) => page.evaluate(() => {
    const svg = document.querySelector('#year-chart svg');
    const [left, top, right, bottom] = svg.dataset.plot.split(' ').map(Number);
    return {
      left, top, right, bottom, days: Number(svg.dataset.days),
      lines: [...svg.querySelectorAll('polyline')].map((l) => ({
        stroke: l.getAttribute('stroke'),
        points: l.getAttribute('points').split(' ').map((p) => p.split(',').map(Number)),
      })),
    };
  });

  test('its curves are the days of tolmeri-hours\' JSON, the Moon\'s too', async () => {
    const { page, close } = await open({ query: '?place=東京&date=2026-06-21&view=year&moon=1' });
    await page.waitForSelector('#year-chart svg');
    const d = await drawn(page);
    const json = JSON.parse(cli(['--place', '東京', '--date', '2026-01-01', '--days', '365', '--format', 'json']));
    assert.equal(d.days, 365);
    const h = d.bottom - d.top;
    // The layout's row of a day minute, a day a plot high. The curves are
    // drawn from unrounded minutes and the JSON's are rounded, so a line may
    // lie a row either side.
    const row = (minute) => d.top + Math.floor((2 * minute * h + 1440) / 2880);
    const column = (day) => d.left + Math.floor(day * (d.right - d.left) / d.days);
    // A horizontal run of a polyline in stroke at row y (or a day above or
    // below) over column x.
    const crosses = (stroke, x, y) => d.lines.some((l) => l.stroke === stroke && l.points.some((p, i) =>
      i > 0 && [y - h, y, y + h].some((r) => Math.abs(p[1] - r) <= 1) && l.points[i - 1][1] === p[1] &&
      Math.min(l.points[i - 1][0], p[0]) <= x && x < Math.max(l.points[i - 1][0], p[0])));
    let checked = 0;
    for (const day of [0, 45, 100, 171, 240, 300, 364]) {
      const x = column(day) + 1;
      for (const i of [0, 2, 5, 6, 11, 12, 17, 18, 23]) {
        const minute = json.days[day].minutes[i];
        assert.ok(crosses(i % 2 === 0 ? '#000000' : '#000000', x, row(minute)),
                  `${json.days[day].date} boundary ${i} at ${minute}`);
        ++checked;
      }
    }
    assert.equal(checked, 63);
    // The Moon: each day's rise on its curve through the column's middle.
    const toMinute = (clock) => Number(clock.slice(0, 2)) * 60 + Number(clock.slice(3));
    for (const day of [10, 100, 200]) {
      const rise = json.days[day].moonrise;
      if (!rise) continue;
      const x = Math.floor((column(day) + column(day + 1)) / 2);
      const y = Math.min(row(toMinute(rise)), d.bottom - 1);
      assert.ok(d.lines.some((l) => l.stroke === '#e60050' && l.points.some(([px, py]) => px === x && py === y)),
                `${json.days[day].date} moonrise ${rise}`);
    }
    await close();
  });

  test('the read-out under the pointer and at the keyboard\'s cursor; zoom; saved as SVG and PNG', async () => {
    const { page, close } = await open({ query: '?place=東京&date=2026-06-21&view=year' });
    await page.waitForSelector('#year-chart svg');
    const d = await drawn(page);
    const h = d.bottom - d.top;
    const x = d.left + Math.floor(171 * (d.right - d.left) / d.days) + 1;
    const y = d.top + Math.ceil(870 * h / 1440);
    const at = await page.evaluate(([px, py]) => {
      const point = new DOMPoint(px + 0.5, py + 0.5)
        .matrixTransform(document.querySelector('#year-chart svg').getScreenCTM());
      return [point.x, point.y];
    }, [x, y]);
    await page.mouse.move(at[0], at[1]);
    // The row's clock time: its first minute.
    const minute = Math.floor((y - d.top) * 1440 / h);
    assert.equal(await page.textContent('#year-readout'),
                 `2026-06-21（令和8年6月21日）　14:${String(minute - 840).padStart(2, '0')}　昼八つ (未)`);
    // The keyboard: from the first day at noon, three days on, an hour down.
    await page.focus('#year-chart');
    for (const key of ['ArrowRight', 'ArrowLeft', 'ArrowRight', 'ArrowRight', 'ArrowRight', 'Shift+ArrowDown'])
      await page.keyboard.press(key);
    assert.match(await page.textContent('#year-readout'), /^2026-01-04（令和8年1月4日）　1[23]:\d\d　昼九つ半$/);
    await page.keyboard.press('End');
    assert.match(await page.textContent('#year-readout'), /^2026-12-31/);
    // Zoomed, the frame scrolls; the page does not.
    const width = () => page.evaluate(() => document.querySelector('#year-chart svg').getBoundingClientRect().width);
    const before = await width();
    await page.click('#year-zoom-in');
    await page.click('#year-zoom-in');
    assert.ok(await width() >= 1.9 * before);
    assert.equal(await page.evaluate(() => document.documentElement.scrollWidth <= innerWidth), true);
    // Saved: an SVG with the chart's title and bands, a PNG of 1200 x 800.
    const [svgFile] = await Promise.all([page.waitForEvent('download'), page.click('#year-save-svg')]);
    const svg = fs.readFileSync(await svgFile.path(), 'utf8');
    assert.match(svgFile.suggestedFilename(), /\.svg$/);
    assert.match(svg, /^<\?xml version="1\.0" encoding="UTF-8"\?>\n<svg /);
    assert.match(svg, /東京　2026年（令和8年）/);
    assert.match(svg, /fill="#0000c8"/);
    assert.doesNotMatch(svg, /class="cursor"/);
    const [pngFile] = await Promise.all([page.waitForEvent('download'), page.click('#year-save-png')]);
    const png = fs.readFileSync(await pngFile.path());
    assert.equal(png.subarray(1, 4).toString(), 'PNG');
    assert.deepEqual([png.readUInt32BE(16), png.readUInt32BE(20)], [1200, 800]);
    await close();
  });
});

describe('downloads', () => {
  const cases = [
    { format: 'csv', bom: true, days: '3', args: ['--format', 'csv', '--days', '3', '--bom'] },
    { format: 'csv', bom: false, to: '1860-04-05', args: ['--format', 'csv', '--to', '1860-04-05'] },
    { format: 'json', days: '2', args: ['--format', 'json', '--days', '2'] },
  ];
  test('CSV (with and without the byte-order mark) and JSON, byte for byte tolmeri-hours\' output', async () => {
    const { page, close } = await open({ query: kEdoLink + '&date=安政7年3月3日&dawn=auto' });
    await page.click('#tab-export');
    await idle(page);
    for (const c of cases) {
      await page.check(c.format === 'csv' ? '#export-csv' : '#export-json');
      if (c.format === 'csv') await (c.bom ? page.check('#export-bom') : page.uncheck('#export-bom'));
      await page.fill('#export-days', c.days ?? '7');
      await page.fill('#export-to', c.to ?? '');
      const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download')]);
      const got = fs.readFileSync(await download.path());
      const want = execFileSync(kHours, [...kEdo, '--date', '安政7年3月3日', '--dawn', 'auto', ...c.args]);
      assert.ok(got.equals(want), `${c.args.join(' ')}: ${got.length} bytes, tolmeri-hours ${want.length}`);
      assert.equal(got.subarray(0, 3).equals(Buffer.from([0xEF, 0xBB, 0xBF])), c.bom === true);
      assert.match(download.suggestedFilename(), new RegExp(`^tolmeri-hours-1860-03-24_.*\\.${c.format}$`));
    }
    assert.match(await page.textContent('#export-answer'),
                 /tolmeri-hours --place=江戸 --date=安政7年3月3日 --dawn=auto --format=json --days=2/);
    await page.fill('#export-days', '0');
    await page.click('#download');
    assert.deepEqual(await answer(page, 'export-answer'),
                     { text: cliRefusal(['--date', '2000-01-01', '--days', '0']), refused: true });
    await close();
  });
});

describe('links', () => {
  // What a view shows, to compare two visitors' pages.
  const shown = (page) => page.evaluate(() => ({
    texts: [...document.querySelectorAll('#chart text')].map((t) => t.textContent),
    names: document.getElementById('day-names').textContent,
    moon: document.getElementById('day-moon').textContent,
    hour: document.getElementById('hour-name-answer').textContent,
    moment: document.getElementById('moment-answer').textContent,
    choices: [...document.querySelectorAll('#choices select')].map((s) => s.value),
    view: document.querySelector('[role=tab][aria-selected=true]').id,
    boxes: [...document.querySelectorAll('#boxes input')].map((i) => i.value),
  }));

  test('a link copied from a page opens the same numbers in a fresh browser', async () => {
    const first = await open();
    const page = first.page;
    await page.click('#choose-place');
    await page.click('#place-13'); // 東京
    await page.click('#places-ok');
    await idle(page);
    await page.fill('#typed-date', '文久3年5月10日');
    await page.click('#use-date');
    await idle(page);
    await page.selectOption('#choice-dawn', 'auto');
    await idle(page);
    await page.fill('#hour-name', '暮六つ半');
    await page.fill('#moment', '21:30');
    await page.press('#moment', 'Tab');
    await first.context.grantPermissions(['clipboard-read', 'clipboard-write']);
    await page.click('#copy-link');
    await page.waitForSelector('#link-status:has-text("コピー")');
    const link = await page.inputValue('#link');
    assert.equal(link, page.url());
    const before = await shown(page);
    assert.equal(before.names.slice(0, 10), '1863-06-25');

    const second = await open({ url: link });
    assert.deepEqual(await shown(second.page), before);
    assert.equal(await second.page.inputValue('#typed-date'), '文久3年5月10日');
    assert.equal(await second.page.isVisible('#link-problems'), false);
    await second.close();
    await first.close();
  });

  test('back and forward move between views and computations', async () => {
    const { page, close } = await open();
    await page.fill('#box-day', '2');
    await press(page, 'calculate', 0);
    await page.fill('#box-day', '3');
    await press(page, 'calculate', 0);
    await page.click('#tab-year');
    await idle(page);
    await page.click('#tab-export');
    await idle(page);
    const where = async () => [await page.evaluate(() =>
      document.querySelector('[role=tab][aria-selected=true]').id), await chartTitle(page)];
    assert.deepEqual(await where(), ['tab-export', '横浜 － 西暦 2000年 1月 3日']);
    const steps = [['tab-year', '横浜 － 西暦 2000年 1月 3日'], ['tab-day', '横浜 － 西暦 2000年 1月 3日'],
                   ['tab-day', '横浜 － 西暦 2000年 1月 2日'], ['tab-day', '横浜 － 西暦 2000年 1月 1日']];
    for (const step of steps) {
      await page.goBack();
      await idle(page);
      assert.deepEqual(await where(), step);
    }
    await page.goForward();
    await page.goForward();
    await idle(page);
    assert.deepEqual(await where(), ['tab-day', '横浜 － 西暦 2000年 1月 3日']);
    assert.deepEqual((await boxes(page)).slice(5, 8), ['2000', '1', '3']);
    await close();
  });

  test('hostile and malformed links fall back with a clear line, never a script or a broken page', async () => {
    const hostile = [
      ['?view=%3Cscript%3Ealert(1)%3C/script%3E', 'リンクの view="<script>alert(1)</script>" は使えません'],
      ['?date=%3Cimg%20src=x%20onerror=alert(1)%3E', '日付 "<img src=x onerror=alert(1)>" は読めません'],
      ['?name=%3Csvg%20onload=alert(1)%3E&lat=35:41&lon=139:45&tz=9', '地名は全角６文字以内にしてください。'],
      ['?place=%E6%B1%9F%E6%88%B8%00&date=%FF%FE', 'は読めません（256 バイトまでの、制御文字のない UTF-8 の文字列）'],
      ['?time=javascript:alert(1)&at=99:99&moon=%22%3E', '刻の名 「javascript:alert(1)」'],
      ['?days=-1&format=ics&bom=yes', 'リンクの bom="yes" は使えません'],
      ['?' + 'x=1&'.repeat(5000), 'リンクの項目が多すぎます'],
      ['?date=' + '1'.repeat(10000), '256 バイトまで'],
    ];
    for (const [query, line] of hostile) {
      const { page, close } = await open({ query });
      const problems = await page.textContent('#link-problems');
      assert.ok(problems.includes(line), `${query.slice(0, 60)}: ${problems}`);
      assert.deepEqual(await boxes(page), ['35', '27', '139', '39', '9', '2000', '1', '1', '横浜']);
      assert.equal((await chartTexts(page)).length, 31);
      assert.equal(await page.locator('img, iframe, #chart script, body > script, svg[onload]').count(), 0);
      // The address now names what is shown.
      assert.equal(new URL(page.url()).search, new URL(await page.inputValue('#link')).search);
      await close();
    }
  });
});

describe('offline and installable', () => {
  test('after one visit over the web the page opens and computes with no network', async () => {
    const server = await serve(siteFolder());
    try {
      const context = await browser.newContext();
      const { page, close } = await open({ context, url: server.url + 'index.html' });
      await page.evaluate(() => navigator.serviceWorker.ready);
      await page.reload();
      await page.waitForSelector('html[data-ready="true"]');
      assert.equal(await page.evaluate(() => navigator.serviceWorker.controller !== null), true);
      // The manifest makes it installable, with the program's own icon.
      const cdp = await context.newCDPSession(page);
      const manifest = await cdp.send('Page.getAppManifest');
      assert.deepEqual(manifest.errors, []);
      const parsed = JSON.parse(manifest.data);
      assert.equal(parsed.short_name, '刻しらべ');
      assert.deepEqual(parsed.icons.map((i) => i.src), ['icon-192.png', 'tolmeri.svg']);
      // The tests' visitors are private windows, which install nothing;
      // nothing else stands in the way.
      const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
      assert.deepEqual(installabilityErrors.map((e) => e.errorId).filter((id) => id !== 'in-incognito'), []);

      await context.setOffline(true);
      const asked = server.requests.length;
      await page.goto(server.url + 'index.html?place=%E4%BA%AC%E9%83%BD&date=2026-06-21');
      await page.waitForSelector('html[data-ready="true"]');
      assert.equal(await chartTitle(page), '京都 － 西暦 2026年 6月 21日');
      await page.fill('#box-day', '22');
      await press(page, 'calculate', 0);
      assert.equal(await chartTitle(page), '京都 － 西暦 2026年 6月 22日');
      assert.equal(server.requests.length, asked, 'nothing asked of the network');
      await close();
    } finally {
      await server.close();
    }
  });
});

describe('usable by everyone', () => {
  test('every field and button is named, and the chart\'s rows are a table', async () => {
    const { page, close } = await open();
    const unnamed = await page.evaluate(() => [...document.querySelectorAll('input, select, button, [role=tab]')]
      .filter((e) => e.offsetParent !== null || e.closest('[hidden]') === null)
      .filter((e) => !(e.labels?.length || e.getAttribute('aria-label') || e.textContent.trim()))
      .map((e) => e.id || e.outerHTML));
    assert.deepEqual(unnamed, []);
    const table = await page.evaluate(() => {
      const t = document.getElementById('day-table');
      return { caption: t.caption.textContent, rows: [...t.tBodies[0].rows].map((r) => r.textContent) };
    });
    assert.equal(table.caption, '刻の表 横浜 － 西暦 2000年 1月 1日');
    assert.equal(table.rows.length, 28);
    assert.equal(table.rows[0], '暁九つ (子)23:45');
    assert.equal(table.rows[25], '日出06:50');
    await close();
  });

  test('the keyboard alone reaches every view and does what the mouse does', async () => {
    const { page, close } = await open();
    // Tab through the page from its start, once round.
    const order = [];
    for (let i = 0; i < 60; ++i) {
      await page.keyboard.press('Tab');
      const id = await page.evaluate(() => document.activeElement.id || document.activeElement.tagName);
      if (order.includes(id)) break;
      order.push(id);
    }
    for (const id of ['box-year', 'box-name', 'calculate', 'save', 'typed-date', 'use-date', 'choice-dawn',
                      'choice-day-start', 'copy-link', 'tab-day', 'hour-name', 'moment'])
      assert.ok(order.includes(id), `${id} in ${order.join(' ')}`);
    // The day: a date and an hour name typed, Enter for the date.
    await page.focus('#typed-date');
    await page.keyboard.type('安政7年3月3日');
    await page.keyboard.press('Enter');
    await idle(page);
    await page.focus('#hour-name');
    await page.keyboard.type('朝五つ半');
    assert.match((await answer(page, 'hour-name-answer')).text, /朝五つ半 +1860-03-24 \d\d:\d\d–\d\d:\d\d/);
    // A choice by the arrows.
    await page.focus('#choice-steps');
    await page.keyboard.press('ArrowDown');
    await idle(page);
    assert.match(await page.inputValue('#link'), /steps=sekki/);
    // The views by the tabs' arrows; the year chart's read-out by its own.
    await page.focus('#tab-day');
    await page.keyboard.press('ArrowRight');
    await idle(page);
    assert.equal(await page.isVisible('#view-year'), true);
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'year-moon');
    await page.keyboard.press('Space');
    await idle(page);
    assert.match(await page.inputValue('#link'), /moon=1/);
    await page.focus('#tab-year');
    await page.keyboard.press('ArrowRight');
    await idle(page);
    assert.equal(await page.isVisible('#view-export'), true);
    await page.focus('#export-days');
    await page.keyboard.press('Control+A');
    await page.keyboard.type('2');
    await page.focus('#download');
    const [download] = await Promise.all([page.waitForEvent('download'), page.keyboard.press('Enter')]);
    assert.match(download.suggestedFilename(), /^tolmeri-hours-1860-03-24_1860-03-25\.csv$/);
    await close();
  });

  test('dark surroundings where the system asks for them; the chart keeps its colours', async () => {
    const context = await browser.newContext({ colorScheme: 'dark', viewport: { width: 1000, height: 602 } });
    const { page, close } = await open({ context });
    const colours = await page.evaluate(() => ({
      body: getComputedStyle(document.body).backgroundColor,
      chart: getComputedStyle(document.getElementById('chart')).backgroundColor,
      band: document.querySelector('#chart .bands rect:nth-child(2)').getAttribute('fill'),
    }));
    assert.deepEqual(colours, { body: 'rgb(27, 27, 27)', chart: 'rgb(240, 240, 240)', band: '#0000c8' });
    await close();
  });
});
