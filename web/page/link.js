// The page's address is its link: the core writes what the page shows as a
// query (the place, the date as typed, the choices, the fields, the view)
// and reads a query back, so a cited link opens the very chart that was
// cited. A new computation, choice or view is a step of the browser's
// history (back and forward return to it); what is typed in a field only
// rewrites the present step. 「リンクをコピー」 puts the link on the
// clipboard, or selects it for copying where the browser allows no script
// to write there.
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.link = (function () {
  const byId = (id) => document.getElementById(id);

  function show(query) {
    byId('link').value = new URL(query || '?', location.href).href.replace(/\?$/, '');
  }

  function put(query, push) {
    show(query);
    if (query === location.search) return;
    const url = query || location.pathname;
    if (push) history.pushState(null, '', url);
    else history.replaceState(null, '', url);
  }

  async function copy() {
    const input = byId('link');
    const status = byId('link-status');
    try {
      await navigator.clipboard.writeText(input.value);
      status.textContent = 'リンクをコピーしました。';
    } catch {
      input.focus();
      input.select();
      status.textContent = 'リンクを選びました。コピーしてください。';
    }
  }

  return {
    show,
    push: (query) => put(query, true),
    replace: (query) => put(query, false),
    install(onReturn) {
      byId('copy-link').addEventListener('click', copy);
      window.addEventListener('popstate', onReturn);
    },
  };
})();
