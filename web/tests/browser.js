// Debian's Chromium, headless, driven by playwright-core: the one way the
// web edition's tests and its speed figures open the page. A fresh profile
// each time; no network beyond the page; as root Chromium needs
// --no-sandbox.
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const { chromium } = require('playwright-core');

const kChromium = '/usr/bin/chromium';
const kFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// The browser, on a fresh empty profile (playwright-core makes one for each
// launch and removes it at close); each newContext() is a visitor of its
// own, with nothing stored.
async function launch() {
  const browser = await chromium.launch({ executablePath: kChromium, headless: true, args: kFlags });
  return {
    newContext: (options = {}) => browser.newContext({
      viewport: { width: 1280, height: 800 }, locale: 'ja-JP', timezoneId: 'Asia/Tokyo', ...options }),
    close: () => browser.close(),
  };
}

// The built page: TOLMERI_WEB_SITE (make web's build/web by default).
function siteFolder() {
  const site = process.env.TOLMERI_WEB_SITE || path.join(__dirname, '../../build/web');
  if (!fs.existsSync(path.join(site, 'index.html')))
    throw new Error(`no web edition in ${site}: build it with make web`);
  return path.resolve(site);
}

function pageUrl() {
  return 'file://' + path.join(siteFolder(), 'index.html');
}

module.exports = { launch, siteFolder, pageUrl };
