// The day's view beside its chart: what the day is called (和暦, 旧暦, 節気,
// 干支, 六曜) and its Moon with the temporal hours of its rise and set, as
// the core words them; the hour-name field (tolmeri-hours' --time) and the
// moment field (--at), answered at each keystroke as the command line
// answers them; and the chart's 25 rows as a table for screen readers.
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.day = (function () {
  const byId = (id) => document.getElementById(id);

  function table(day, title) {
    byId('day-table-caption').textContent = '刻の表 ' + title;
    const body = byId('day-table').tBodies[0];
    const rows = [...day.rows, ...day.marks].map((row) => {
      const tr = document.createElement('tr');
      const th = document.createElement('th');
      th.scope = 'row';
      th.textContent = row.label;
      const td = document.createElement('td');
      td.textContent = row.time;
      tr.append(th, td);
      return tr;
    });
    body.replaceChildren(...rows);
  }

  // A field answered as it is typed; the link follows once it is left.
  function field(id, set, changed) {
    const input = byId(id);
    const output = byId(id + '-answer');
    input.addEventListener('input', () => {
      const start = performance.now();
      window.tolmeri.fields.answer(output, set(input.value));
      performance.measure('tolmeri-' + id, { start });
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
      byId('day-moon').textContent = view.day.moon ?? '';
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
