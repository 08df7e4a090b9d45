// The page: the window's commands on its boxes. The core answers each
// command with what to show; the page shows it. 保存 keeps the place and
// the date in the browser (localStorage, the page's settings file, an INI
// text the core reads as the window reads its file); a page that has never
// saved opens on the first-start place and date.
'use strict';
(function () {
  const t = window.tolmeri;
  const kStoreKey = 'tolmeri.ini';
  let busy = false;

  function readStore() {
    try {
      return window.localStorage.getItem(kStoreKey) ?? '';
    } catch {
      return ''; // a browser that keeps nothing: the first-start values
    }
  }

  // Runs one command at a time; a command's messages block the others, as
  // the window's modal message boxes do.
  function command(id, run) {
    document.getElementById(id).addEventListener('click', async () => {
      if (busy) return;
      busy = true;
      document.documentElement.dataset.busy = 'true'; // for whoever waits for the page
      document.getElementById('status').textContent = '';
      try {
        await run();
      } finally {
        busy = false;
        delete document.documentElement.dataset.busy;
      }
    });
  }

  async function calculate() {
    const start = performance.now();
    t.core.setBoxes(t.boxes.texts());
    const answer = t.core.calculate();
    if (answer.messages.length === 0) {
      t.chart.draw(answer.chart);
      // The round's figure takes the page's layout of the new chart in too.
      document.getElementById('chart').getBoundingClientRect();
      performance.measure('tolmeri-calculate', { start });
      return;
    }
    await t.messages.play(answer.messages);
    t.chart.draw(answer.chart);
  }

  async function setToday() {
    const today = new Date();
    t.boxes.show(t.core.setToday(today.getFullYear(), today.getMonth() + 1, today.getDate()).boxes);
  }

  async function choosePlace() {
    t.core.setBoxes(t.boxes.texts());
    await t.messages.play(t.core.readBoxes().messages);
    const index = await t.places.choose();
    t.boxes.show(t.core.chooseLocation(index).boxes);
  }

  async function save() {
    t.core.setBoxes(t.boxes.texts());
    const answer = t.core.save(readStore());
    await t.messages.play(answer.messages);
    if (answer.stored === null) return;
    try {
      window.localStorage.setItem(kStoreKey, answer.stored);
    } catch {
      await t.messages.show(t.core.saveFailedMessage(), 'exclamation');
      return;
    }
    document.getElementById('status').textContent = answer.notice;
  }

  async function start() {
    try {
      await t.core.load();
    } catch (error) {
      const section = document.getElementById('chart');
      const p = document.createElement('p');
      p.className = 'problem';
      p.textContent = 'このブラウザーでは WebAssembly を使えないため、計算できません。';
      section.replaceChildren(p);
      return;
    }
    const opened = t.core.open(readStore());
    t.boxes.show(opened.boxes);
    t.boxes.install();
    t.chart.draw(opened.chart);
    performance.mark('tolmeri-chart-drawn');
    command('calculate', calculate);
    command('set-today', setToday);
    command('choose-place', choosePlace);
    command('save', save);
    document.documentElement.dataset.ready = 'true';
  }

  start();
})();
