// The page: the window's commands on its boxes, and the views beside them.
// The core answers each command with what to show; the page shows it. 保存
// keeps the place and the date in the browser (localStorage, the page's
// settings file, an INI text the core reads as the window reads its file);
// a page that has never saved opens on the first-start place and date. A
// link's query is read over what was opened, and what the page shows is
// always its link (link.js).
'use strict';
(function () {
  const t = window.tolmeri;
  const kStoreKey = 'tolmeri.ini';
  const kViews = ['day', 'year', 'export'];
  const byId = (id) => document.getElementById(id);
  let busy = false;
  let view = 'day';

  function readStore() {
    try {
      return window.localStorage.getItem(kStoreKey) ?? '';
    } catch {
      return ''; // a browser that keeps nothing: the first-start values
    }
  }

  // Runs one command at a time; a command's messages block the others, as
  // the window's modal message boxes do.
  async function run(task) {
    if (busy) return;
    busy = true;
    document.documentElement.dataset.busy = 'true'; // for whoever waits for the page
    try {
      await task();
    } finally {
      busy = false;
      delete document.documentElement.dataset.busy;
    }
  }

  function command(id, task) {
    byId(id).addEventListener('click', () => run(async () => {
      byId('status').textContent = '';
      await task();
    }));
  }

  function showTab(name) {
    view = name;
    for (const v of kViews) {
      const tab = byId('tab-' + v);
      const on = v === name;
      tab.setAttribute('aria-selected', String(on));
      tab.tabIndex = on ? 0 : -1;
      byId('view-' + v).hidden = !on;
    }
  }

  // Everything a computation, a choice or a link changes.
  function showView(answer) {
    t.chart.draw(answer.chart);
    showBeside(answer);
  }

  // What the day view shows beside the chart, and the state.
  function showBeside(answer) {
    const title = answer.chart.texts.find((x) => x.kind === 'title');
    t.day.show(answer, title ? title.text : '');
    showState(answer.state);
  }

  const nextFrame = () => new Promise((resolve) => requestAnimationFrame(() => resolve()));

  function showState(state) {
    t.fields.show(state);
    t.exporter.show(state);
    t.year.show(state);
    t.link.show(state.link);
    if (state.view !== view) showTab(state.view);
    if (view === 'year') t.year.draw();
  }

  function showProblems(problems) {
    const p = byId('link-problems');
    p.textContent = problems.join('\n');
    p.hidden = problems.length === 0;
  }

  async function calculate() {
    const start = performance.now();
    t.core.setBoxes(t.boxes.texts());
    const answer = t.core.calculate();
    if (answer.messages.length === 0) {
      t.chart.draw(answer.chart);
      // The round's figure takes the page's layout of the new chart in too.
      byId('chart').getBoundingClientRect();
      performance.measure('tolmeri-calculate', { start });
      // The chart first; what the day is called, its Moon and the fields'
      // answers beside it in the next frame.
      await nextFrame();
    } else {
      await t.messages.play(answer.messages);
      t.chart.draw(answer.chart);
    }
    const beside = performance.now();
    const view = t.core.view();
    showBeside(view);
    byId('views').getBoundingClientRect();
    performance.measure('tolmeri-calculate-beside', { start: beside });
    t.link.push(view.state.link);
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

  async function chooseHistorical() {
    t.core.setBoxes(t.boxes.texts());
    await t.messages.play(t.core.readBoxes().messages);
    const index = await t.historical.choose();
    t.boxes.show(t.core.chooseHistorical(index).boxes);
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
    byId('status').textContent = answer.notice;
  }

  // The date as written: into the date boxes, then 計算実行.
  function useDate(text) {
    run(async () => {
      const answer = t.core.useDate(text);
      if (answer.message !== undefined) {
        t.fields.answer(byId('typed-date-answer'), answer);
        return;
      }
      t.boxes.show(answer.boxes);
      await calculate();
    });
  }

  function setChoice(index, value) {
    run(async () => {
      const answer = t.core.setChoice(index, value);
      if (answer.message !== undefined) return;
      showView(answer);
      t.link.push(answer.state.link);
    });
  }

  function openView(name) {
    if (name === view) return;
    run(async () => {
      const answer = t.core.setView(name);
      if (answer.message !== undefined) return;
      showTab(name);
      showState(answer.state);
      t.link.push(answer.state.link);
    });
  }

  // The tabs: a click or Enter opens a view; the arrows, Home and End move
  // between the tabs.
  function installTabs() {
    kViews.forEach((name, index) => {
      const tab = byId('tab-' + name);
      tab.addEventListener('click', () => openView(name));
      tab.addEventListener('keydown', (event) => {
        const to = { ArrowRight: index + 1, ArrowLeft: index - 1, Home: 0, End: kViews.length - 1 }[event.key];
        if (to === undefined) return;
        event.preventDefault();
        const next = kViews[(to + kViews.length) % kViews.length];
        byId('tab-' + next).focus();
        openView(next);
      });
    });
  }

  // Back or forward: the step's link read again over what was opened.
  function onReturn() {
    run(async () => {
      const opened = t.core.open(readStore());
      const answer = location.search ? t.core.openLink(location.search) : opened;
      t.boxes.show(answer.boxes);
      showProblems(answer.problems ?? []);
      showView(answer);
    });
  }

  async function start() {
    try {
      await t.core.load();
    } catch (error) {
      const section = byId('chart');
      const p = document.createElement('p');
      p.className = 'problem';
      p.textContent = 'このブラウザーでは WebAssembly を使えないため、計算できません。';
      section.replaceChildren(p);
      return;
    }
    t.fields.fillChoices(t.core.choices());
    t.fields.install({ readDate: t.core.readDate, useDate, setChoice });
    let answer = t.core.open(readStore());
    if (location.search) {
      answer = t.core.openLink(location.search);
      showProblems(answer.problems);
      // The address names what is shown: a value that could not be used
      // leaves it.
      t.link.replace(answer.state.link);
    }
    t.boxes.show(answer.boxes);
    t.boxes.install();
    showView(answer);
    performance.mark('tolmeri-chart-drawn');
    command('calculate', calculate);
    command('set-today', setToday);
    command('choose-place', choosePlace);
    command('choose-historical', chooseHistorical);
    command('save', save);
    const changed = () => t.link.replace(t.core.link());
    t.day.install({ setTime: t.core.setTime, setAt: t.core.setAt, changed });
    t.exporter.install({
      setExport(settings) {
        t.exporter.show(t.core.setExport(settings).state);
        changed();
      },
      download: t.core.download,
    });
    t.year.install({
      setMoon(moon) {
        showState(t.core.setYearMoon(moon).state);
        changed();
      },
    });
    installTabs();
    t.link.install(onReturn);
    if ('serviceWorker' in navigator && location.protocol.startsWith('http'))
      navigator.serviceWorker.register('sw.js').catch(() => {});
    document.documentElement.dataset.ready = 'true';
  }

  start();
})();
