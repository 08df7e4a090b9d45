// 歴史地名から選ぶ: the historical places (江戸, the stations of the 東海道
// and 中山道, castle towns, 国府, 関所...) narrowed as a name, reading or
// romaji is typed and by kind, the core's search as the window's list has
// it, with where the chosen place's point comes from and the table's credit
// lines. Down in the search box goes on into the list; the list moves by
// arrows, Home, End, Page Up and Down; Enter is OK, Escape ｷｬﾝｾﾙ. choose()
// answers the place's index in the table, or -1 when nothing is to be
// applied.
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.historical = (function () {
  const kPage = 10;
  const byId = (id) => document.getElementById(id);
  let shown = [];
  let selected = -1;

  // The rows are put in the list a screenful at once: the first ones with
  // the keystroke, the rest in the frames after it, or at once when the
  // keyboard goes beyond them.
  const kFirstRows = 40;
  let pending = 0; // the first row not yet in the list
  let token = 0;

  function row(place, index) {
    const li = document.createElement('li');
    li.id = 'historical-' + index;
    li.setAttribute('role', 'option');
    li.setAttribute('aria-selected', 'false');
    for (const field of [place.name, place.reading, place.where, place.latitude, place.longitude]) {
      const span = document.createElement('span');
      span.textContent = field;
      li.append(span);
    }
    return li;
  }

  function putRows(end) {
    const rows = document.createDocumentFragment();
    for (; pending < Math.min(end, shown.length); ++pending) rows.append(row(shown[pending], pending));
    byId('historical-list').append(rows);
  }

  function putRest(mine) {
    requestAnimationFrame(() => {
      if (mine !== token || pending >= shown.length) return;
      putRows(pending + 100);
      putRest(mine);
    });
  }

  function select(index) {
    if (index >= pending) putRows(shown.length);
    const items = byId('historical-list').children;
    if (selected >= 0 && items[selected]) items[selected].setAttribute('aria-selected', 'false');
    selected = -1;
    byId('historical-list').removeAttribute('aria-activedescendant');
    byId('historical-detail').textContent = '';
    if (items.length === 0 || index < 0) return;
    selected = Math.max(0, Math.min(items.length - 1, index));
    const item = items[selected];
    item.setAttribute('aria-selected', 'true');
    byId('historical-list').setAttribute('aria-activedescendant', item.id);
    item.scrollIntoView({ block: 'nearest' });
    byId('historical-detail').textContent = window.tolmeri.core.historicalDetail(shown[selected].index);
  }

  // The list anew for the search box's text and the kind; typed text puts
  // its best match first, selected, so Enter takes it.
  function refill() {
    const search = byId('historical-search').value;
    const answer = window.tolmeri.core.historicalPlaces(search, byId('historical-kind').selectedIndex);
    shown = answer.places;
    const list = byId('historical-list');
    list.replaceChildren();
    list.scrollTop = 0;
    pending = 0;
    selected = -1;
    putRows(kFirstRows);
    putRest(++token);
    byId('historical-count').textContent = answer.count;
    select(search.trim() && shown.length > 0 ? 0 : -1);
  }

  function onListKey(event) {
    const moves = {
      ArrowDown: selected + 1, ArrowUp: selected < 0 ? 0 : selected - 1,
      PageDown: selected + kPage, PageUp: selected < 0 ? 0 : selected - kPage,
      Home: 0, End: shown.length - 1,
    };
    if (event.key in moves) {
      event.preventDefault();
      select(moves[event.key]);
    } else if (event.key === 'Enter') {
      event.preventDefault();
      byId('historical-ok').click();
    }
  }

  function onSearchKey(event) {
    if (event.key === 'ArrowDown' && !event.isComposing && shown.length > 0) {
      event.preventDefault();
      byId('historical-list').focus();
      if (selected < 0) select(0);
    } else if (event.key === 'Enter' && !event.isComposing) {
      event.preventDefault();
      byId('historical-ok').click();
    }
  }

  let installed = false;
  function install() {
    if (installed) return;
    installed = true;
    const core = window.tolmeri.core;
    const kind = byId('historical-kind');
    for (const label of core.historicalChoices()) {
      const option = document.createElement('option');
      option.textContent = label;
      kind.append(option);
    }
    byId('historical-credits').textContent = core.historicalCredits();
    byId('historical-search').addEventListener('input', (event) => {
      if (event.isComposing) return;
      refill();
      // From the keystroke to the list laid out, for the speed figures.
      byId('historical-list').getBoundingClientRect();
      performance.measure('tolmeri-historical-search', { start: event.timeStamp });
    });
    byId('historical-search').addEventListener('compositionend', refill);
    byId('historical-search').addEventListener('keydown', onSearchKey);
    kind.addEventListener('change', refill);
    byId('historical-list').addEventListener('keydown', onListKey);
    byId('historical-list').addEventListener('click', (event) => {
      const li = event.target.closest('li');
      if (li) select([...li.parentNode.children].indexOf(li));
    });
  }

  function choose() {
    install();
    const dialog = byId('historical');
    byId('historical-search').value = '';
    byId('historical-kind').selectedIndex = 0;
    refill();
    return new Promise((resolve) => {
      const ok = byId('historical-ok');
      const onOk = () => {
        if (selected >= 0) dialog.close('ok');
      };
      ok.addEventListener('click', onOk);
      dialog.addEventListener('close', () => {
        ok.removeEventListener('click', onOk);
        resolve(dialog.returnValue === 'ok' && selected >= 0 ? shown[selected].index : -1);
      }, { once: true });
      dialog.returnValue = '';
      dialog.showModal();
      byId('historical-search').focus();
    });
  }

  return { choose };
})();
