// 場所をリストから選ぶ: the 53 preset places in a list, by mouse or keyboard
// (arrows, Home, End, Page Up and Down move the selection; Enter is OK,
// Escape ｷｬﾝｾﾙ). It opens without a selection, and OK without one does
// nothing, as the window's list does. choose() answers the index chosen, or
// -1 when nothing is to be applied.
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.places = (function () {
  const kPage = 10;
  let selected = -1;

  function list() {
    return document.getElementById('place-list');
  }

  function fill() {
    const ul = list();
    if (ul.children.length > 0) return;
    window.tolmeri.core.places().forEach((place, index) => {
      const li = document.createElement('li');
      li.id = 'place-' + index;
      li.setAttribute('role', 'option');
      li.setAttribute('aria-selected', 'false');
      for (const field of [place.name, place.latitude, place.longitude, place.tz]) {
        const span = document.createElement('span');
        span.textContent = field;
        li.append(span);
      }
      li.addEventListener('click', () => select(index));
      ul.append(li);
    });
  }

  function select(index) {
    const items = list().children;
    if (items.length === 0) return;
    index = Math.max(0, Math.min(items.length - 1, index));
    if (selected >= 0) items[selected].setAttribute('aria-selected', 'false');
    selected = index;
    const item = items[index];
    item.setAttribute('aria-selected', 'true');
    list().setAttribute('aria-activedescendant', item.id);
    item.scrollIntoView({ block: 'nearest' });
  }

  function onKey(event) {
    const moves = {
      ArrowDown: selected + 1, ArrowUp: selected < 0 ? 0 : selected - 1,
      PageDown: selected + kPage, PageUp: selected < 0 ? 0 : selected - kPage,
      Home: 0, End: list().children.length - 1,
    };
    if (event.key in moves) {
      event.preventDefault();
      select(moves[event.key]);
    } else if (event.key === 'Enter') {
      event.preventDefault();
      document.getElementById('places-ok').click();
    }
  }

  function choose() {
    fill();
    const dialog = document.getElementById('places');
    const ul = list();
    if (selected >= 0) ul.children[selected].setAttribute('aria-selected', 'false');
    selected = -1;
    ul.removeAttribute('aria-activedescendant');
    ul.scrollTop = 0;
    return new Promise((resolve) => {
      const ok = document.getElementById('places-ok');
      const onOk = () => {
        if (selected >= 0) dialog.close('ok');
      };
      ok.addEventListener('click', onOk);
      ul.addEventListener('keydown', onKey);
      dialog.addEventListener('close', () => {
        ok.removeEventListener('click', onOk);
        ul.removeEventListener('keydown', onKey);
        resolve(dialog.returnValue === 'ok' ? selected : -1);
      }, { once: true });
      dialog.returnValue = '';
      dialog.showModal();
      ul.focus();
    });
  }

  return { choose };
})();
