// The day's view beside its chart: what the day is called (和暦, 旧暦, 節気,
// 干支, 六曜) and its Moon with the temporal hours of its rise and set, as
// the core words them; the hour-name field (tolmeri-hours' --time) and the
// moment field (--at), answered at each keystroke as the command line
// answers them; and the chart's 25 rows as a table for screen readers.
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.day = (function () {
  const byId = (id) => document.getElementById(id);

  // The rows are made once; a new day changes only the texts that differ,
  // so the browser lays out little more than the clock times again.
  function table(day, title) {
    const caption = '刻の表 ' + title;
    const captionCell = byId('day-table-caption');
    if (captionCell.textContent !== caption) captionCell.textContent = caption;
    const body = byId('day-table').tBodies[0];
    [...day.rows, ...day.marks].forEach((row, i) => {
      let tr = body.rows[i];
      if (!tr) {
        tr = body.insertRow();
        const th = document.createElement('th');
        th.scope = 'row';
        tr.append(th, document.createElement('td'));
      }
      for (const [cell, text] of [[tr.cells[0], row.label], [tr.cells[1], row.time]])
        if (cell.textContent !== text) cell.textContent = text;
    });
  }

  // A field answered as it is typed; the link follows once it is left.
  function field(id, set, changed) {
    const input = byId(id);
    const output = byId(id + '-answer');
    input.addEventListener('input', (event) => {
      window.tolmeri.fields.answer(output, set(input.value));
      // From the keystroke to the answer laid out, for the speed figures.
      output.getBoundingClientRect();
      performance.measure('tolmeri-' + id, { start: event.timeStamp });
    });
    input.addEventListener('change', changed);
  }

  return {
    install({ setTime, setAt, changed }) {
      field('hour-name', setTime, changed);
      field('moment', setAt, changed);
    },
    // A computation's day: names, Moon, the answers of the two fields and
    // what they hold (a link may have set them).
    show(view, title) {
      const answer = window.tolmeri.fields.answer;
      answer(byId('day-names'), view.day.message !== undefined ? view.day : { text: view.day.names });
      answer(byId('day-moon'), { text: view.day.moon ?? '' });
      for (const [id, value, reply] of [['hour-name', view.state.time, view.time],
                                        ['moment', view.state.at, view.at]]) {
        const input = byId(id);
        if (input.value.trim() !== value) input.value = value;
        answer(byId(id + '-answer'), reply);
      }
      table(view.day, title);
    },
  };
})();
