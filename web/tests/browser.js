// Debian's Chromium, headless, driven by playwright-core: the one way the
// web edition's tests and its speed figures open the page. A fresh profile
// each time; no network beyond the page; as root Chromium needs
// --no-sandbox.
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { chromium } = require('playwright-core');

const kChromium = '/usr/bin/chromium';
const kFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// A browser with a profile of its own, removed by close().
async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tolmeri-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: kChromium,
    headless: true,
    args: kFlags,
    viewport: { width: 1280, height: 800 },
    locale: 'ja-JP',
    timezoneId: 'Asia/Tokyo',
  });
  return {
    context,
    async close() {
      await context.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
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
