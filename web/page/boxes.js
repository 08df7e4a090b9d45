// The page's nine boxes, in the core's order (core/main_boxes.h: the
// latitude, the longitude, the time difference, the year, month and day,
// the name). Typing into a box keeps only what the window's box would take
// (the core's typing limit: characters CP932 can hold, the name's 12
// bytes); a composition of an input method is limited once it is done.
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.boxes = (function () {
  const ids = ['box-lat-deg', 'box-lat-min', 'box-lon-deg', 'box-lon-min', 'box-time-diff',
               'box-year', 'box-month', 'box-day', 'box-name'];
  const elements = () => ids.map((id) => document.getElementById(id));
  const last = new Map();

  function limit(input, box) {
    const before = last.get(input) ?? '';
    const after = input.value;
    if (after === before) return;
    const cursor = input.selectionStart ?? after.length;
    const kept = window.tolmeri.core.limitEdit(box, before, after, cursor);
    if (kept.text !== after) {
      input.value = kept.text;
      input.setSelectionRange(kept.cursor, kept.cursor);
    }
    last.set(input, input.value);
  }

  function install() {
    elements().forEach((input, box) => {
      last.set(input, input.value);
      input.addEventListener('input', (event) => {
        if (!event.isComposing) limit(input, box);
      });
      input.addEventListener('compositionend', () => limit(input, box));
    });
  }

  return {
    install,
    texts: () => elements().map((input) => input.value),
    // Shows texts; a box that already shows its text is left alone.
    show(texts) {
      elements().forEach((input, box) => {
        if (input.value !== texts[box]) input.value = texts[box];
        last.set(input, input.value);
      });
    },
    focus(box) {
      const input = elements()[box];
      if (!input) return;
      input.focus();
      input.select();
    },
  };
})();
