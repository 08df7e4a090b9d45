// 書き出し: a range of days from the page's date as CSV (with or without the
// byte-order mark) or JSON, the very bytes tolmeri-hours writes for the same
// options (the core writes them; the page only saves them), with the
// command line that writes them.
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.exporter = (function () {
  const byId = (id) => document.getElementById(id);

  function settings() {
    return {
      format: byId('export-json').checked ? 'json' : 'csv',
      bom: byId('export-bom').checked,
      days: byId('export-days').value,
      to: byId('export-to').value,
    };
  }

  // Saves text as a file of the name, UTF-8 as the core wrote it.
  function save(name, text, type) {
    const url = URL.createObjectURL(new Blob([text], { type }));
    const a = document.createElement('a');
    a.href = url;
    a.download = name;
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 0);
  }

  return {
    save,
    show(state) {
      byId('export-from').textContent = '開始日 ' + state.date;
      byId(state.export.format === 'json' ? 'export-json' : 'export-csv').checked = true;
      byId('export-bom').checked = state.export.bom;
      byId('export-bom').disabled = state.export.format !== 'csv';
      if (byId('export-days').value !== state.export.days) byId('export-days').value = state.export.days;
      if (byId('export-to').value !== state.export.to) byId('export-to').value = state.export.to;
    },
    install({ setExport, download }) {
      for (const id of ['export-csv', 'export-json', 'export-bom', 'export-days', 'export-to'])
        byId(id).addEventListener('change', () => setExport(settings()));
      byId('download').addEventListener('click', () => {
        setExport(settings());
        const answer = download();
        const output = byId('export-answer');
        if (answer.message !== undefined) {
          window.tolmeri.fields.answer(output, answer);
          return;
        }
        window.tolmeri.fields.answer(output, { text: answer.name + '\n' + answer.command });
        save(answer.name, answer.text,
             answer.name.endsWith('.json') ? 'application/json' : 'text/csv;charset=utf-8');
      });
    },
  };
})();
