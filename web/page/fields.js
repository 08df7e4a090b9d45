// The page's fields beside the window's boxes: the date as a text writes it
// (any form tolmeri-hours' --date takes), answered as it is typed with the
// day's names or the core's refusal, and the choices of the reckoning, each
// listed with the command line's values and labels as the core gives them.
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.fields = (function () {
  const byId = (id) => document.getElementById(id);
  let options = [];

  // One labelled list per choice, in the core's order.
  function fillChoices(choices) {
    options = choices.map((c) => c.option);
    const holder = byId('choices');
    holder.replaceChildren();
    for (const choice of choices) {
      const row = document.createElement('div');
      row.className = 'row';
      const label = document.createElement('label');
      label.htmlFor = 'choice-' + choice.option;
      label.textContent = choice.label;
      const select = document.createElement('select');
      select.id = 'choice-' + choice.option;
      for (const value of choice.values) {
        const option = document.createElement('option');
        option.value = value.name;
        option.textContent = value.label;
        select.append(option);
      }
      row.append(label, select);
      holder.append(row);
    }
  }

  // An answer in its output: the text, or the message marked as a refusal.
  function answer(output, reply) {
    const text = reply.text ?? reply.message ?? '';
    if (output.textContent !== text) output.textContent = text;
    output.classList.toggle('refused', reply.message !== undefined);
  }

  let read = null;

  return {
    fillChoices,
    answer,
    // The choices' values as the state holds them, and the date the chart
    // shows as it was written (or in ISO), with its names.
    show(state) {
      options.forEach((option) => {
        const select = byId('choice-' + option);
        if (select.value !== state.choices[option]) select.value = state.choices[option];
      });
      const typed = byId('typed-date');
      if (read && typed.value.trim() !== state.date) {
        typed.value = state.date;
        answer(byId('typed-date-answer'), read(typed.value));
      }
    },
    // The date field answered at each keystroke; Enter or the button use it.
    install({ readDate, useDate, setChoice }) {
      read = readDate;
      const typed = byId('typed-date');
      typed.addEventListener('input', (event) => {
        const output = byId('typed-date-answer');
        answer(output, readDate(typed.value));
        // From the keystroke to the answer laid out, for the speed figures.
        output.getBoundingClientRect();
        performance.measure('tolmeri-typed-date', { start: event.timeStamp });
      });
      typed.addEventListener('keydown', (event) => {
        if (event.key === 'Enter' && !event.isComposing) {
          event.preventDefault();
          useDate(typed.value);
        }
      });
      byId('use-date').addEventListener('click', () => useDate(typed.value));
      options.forEach((option, index) => {
        byId('choice-' + option).addEventListener('change', (event) =>
          setChoice(index, event.target.value));
      });
    },
  };
})();
