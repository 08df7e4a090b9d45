// The page's one door to the core: the WebAssembly module built from the
// program's C++ (web/exports.cpp), called with plain values and answering
// JSON. Texts cross as UTF-8 on the module's heap, so a text of any length
// (a stored settings text included) fits.
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.core = (function () {
  let module = null;

  function toHeap(text) {
    const size = module.lengthBytesUTF8(text) + 1;
    const pointer = module._malloc(size);
    module.stringToUTF8(text, pointer, size);
    return pointer;
  }

  // Calls an exported function; string arguments go through the heap, and a
  // pointer answer is read as UTF-8 text.
  function call(name, args, answersText) {
    const pointers = [];
    const values = args.map((a) => {
      if (typeof a !== 'string') return a;
      const p = toHeap(a);
      pointers.push(p);
      return p;
    });
    try {
      const answer = module['_' + name](...values);
      return answersText ? module.UTF8ToString(answer) : answer;
    } finally {
      pointers.forEach((p) => module._free(p));
    }
  }

  function json(name, ...args) {
    return JSON.parse(call(name, args, true));
  }

  return {
    async load() {
      // Compiled as the script runs, so the module is ready at once; a build
      // that compiles in the background hands a promise instead.
      const made = window.TolmeriCore();
      module = made.ready ? await made.ready : await made;
    },
    open: (stored) => json('tolmeri_open', stored),
    setBoxes(texts) {
      texts.forEach((text, box) => call('tolmeri_set_box', [box, text], false));
    },
    calculate: () => json('tolmeri_calculate'),
    setToday: (year, month, day) => json('tolmeri_set_today', year, month, day),
    readBoxes: () => json('tolmeri_read_boxes'),
    chooseLocation: (index) => json('tolmeri_choose_location', index),
    save: (stored) => json('tolmeri_save', stored),
    saveFailedMessage: () => call('tolmeri_save_failed_message', [], true),
    places: () => json('tolmeri_places'),
    limitEdit: (box, before, after, cursor) =>
      json('tolmeri_limit_edit', box, before, after, cursor),
    // One day as tolmeri-hours --format json writes it; sun 0: the
    // window's, 1: the precise Sun.
    dayJson: (place, date, sun) =>
      json('tolmeri_day_json', place.name, place.latDeg, place.latMin, place.lonDeg,
           place.lonMin, place.timeDiff, date.year, date.month, date.day, sun),
    timeDays: (count, sun) => call('tolmeri_time_days', [count, sun], false),
    // A link's query applied over what the page holds; the link of what
    // it shows now.
    openLink: (query) => json('tolmeri_open_link', query),
    link: () => call('tolmeri_link', [], true),
    view: () => json('tolmeri_view'),
    choices: () => json('tolmeri_choices'),
    readDate: (text) => json('tolmeri_read_date', text),
    useDate: (text) => json('tolmeri_use_date', text),
    setTime: (text) => json('tolmeri_set_time', text),
    setAt: (text) => json('tolmeri_set_at', text),
    setChoice: (choice, value) => json('tolmeri_set_choice', choice, value),
    setView: (name) => json('tolmeri_set_view', name),
    setYearMoon: (moon) => json('tolmeri_set_year_moon', moon ? 1 : 0),
    setExport: (settings) =>
      json('tolmeri_set_export', settings.format, settings.bom ? 1 : 0, settings.days, settings.to),
    download: () => json('tolmeri_download'),
    // 歴史地名から選ぶ: the kinds, the places a search narrows to, a
    // place's description, the table's credit lines, the place taken.
    historicalChoices: () => json('tolmeri_historical_choices'),
    historicalPlaces: (query, choice) => json('tolmeri_historical_places', query, choice),
    historicalDetail: (index) => call('tolmeri_historical_detail', [index], true),
    historicalCredits: () => call('tolmeri_historical_credits', [], true),
    chooseHistorical: (index) => json('tolmeri_choose_historical', index),
    // 一年の刻: the chart's shapes for a picture of width x height, what it
    // shows under a point, and at the keyboard's cursor.
    yearChart: (width, height) => json('tolmeri_year_chart', width, height),
    yearReadout: (x, y) => call('tolmeri_year_readout', [x, y], true),
    yearCursor: (day, minute) => json('tolmeri_year_cursor', day, minute),
  };
})();
