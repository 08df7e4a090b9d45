// 一年の刻: the year chart of the page's year (to come).
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.year = (function () {
  return {
    show(state) {
      document.getElementById('year-moon').checked = state.moon;
    },
    draw() {},
    install({ setMoon }) {
      document.getElementById('year-moon').addEventListener('change', (e) => setMoon(e.target.checked));
    },
  };
})();
