// The page's message box: one message at a time, modal, closed by OK (or
// Escape), as the window's message boxes are. A command's messages are
// played in turn, each followed by what the window does after it: the boxes
// shown again, or the focus put on the refused box with its text selected.
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.messages = (function () {
  function show(text, icon) {
    const dialog = document.getElementById('message');
    document.getElementById('message-text').textContent = text;
    dialog.classList.toggle('exclamation', icon === 'exclamation');
    document.getElementById('message-icon').textContent = icon === 'exclamation' ? '!' : '';
    dialog.dataset.shown = Number(dialog.dataset.shown ?? 0) + 1; // how many so far
    return new Promise((resolve) => {
      dialog.addEventListener('close', () => resolve(), { once: true });
      dialog.showModal();
    });
  }

  async function play(messages) {
    const boxes = window.tolmeri.boxes;
    for (const message of messages) {
      await show(message.text, message.icon);
      if (message.boxes) boxes.show(message.boxes);
      if (message.focus) boxes.focus(message.box);
    }
  }

  return { show, play };
})();
