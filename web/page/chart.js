// The chart as SVG, drawn from the layout the core made (core/day_chart.h:
// the window's bands, colours, rows, marks and title, at the window's 96
// dots per inch). Each text stands on its grey box as wide as the text
// measures in the page's font; the picture is framed to what it holds, the
// core's margin either side, and scales to the room it gets.
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.chart = (function () {
  const NS = 'http://www.w3.org/2000/svg';

  function element(name, attributes) {
    const e = document.createElementNS(NS, name);
    for (const [key, value] of Object.entries(attributes)) e.setAttribute(key, value);
    return e;
  }

  function draw(chart) {
    const section = document.getElementById('chart');
    const title = chart.texts.find((t) => t.kind === 'title');
    const svg = element('svg', { role: 'img', 'aria-labelledby': 'chart-title' });
    const caption = element('title', { id: 'chart-title' });
    caption.textContent = title ? title.text : '';
    svg.append(caption);

    const bands = element('g', { class: 'bands' });
    let left = Infinity;
    let right = -Infinity;
    for (const b of chart.bands) {
      if (b.width <= 0 || b.height <= 0) continue;
      bands.append(element('rect', { x: b.x, y: b.y, width: b.width, height: b.height,
                                     fill: chart.outline }));
      if (b.width > 2 && b.height > 2)
        bands.append(element('rect', { x: b.x + 1, y: b.y + 1, width: b.width - 2,
                                       height: b.height - 2, fill: b.fill }));
      left = Math.min(left, b.x);
      right = Math.max(right, b.x + b.width);
    }
    svg.append(bands);

    const cells = [];
    for (const t of chart.texts) {
      const size = t.kind === 'title' ? chart.titleFont : chart.rowFont;
      const g = element('g', { class: t.kind });
      const box = element('rect', { x: t.x, y: t.y, width: 0, height: size, fill: chart.textBox });
      const text = element('text', { x: t.x, y: t.y, 'font-size': size, fill: t.color });
      text.textContent = t.text;
      g.append(box, text);
      svg.append(g);
      cells.push({ t, box, text });
    }
    section.replaceChildren(svg);

    // Measured once everything is in place: one layout for all the texts.
    for (const cell of cells) {
      const width = cell.text.getComputedTextLength();
      cell.box.setAttribute('width', width);
      left = Math.min(left, cell.t.x);
      right = Math.max(right, cell.t.x + width);
    }
    const x = Math.floor(left) - chart.margin;
    const width = Math.ceil(right) + chart.margin - x;
    svg.setAttribute('viewBox', `${x} 0 ${width} ${chart.height}`);
    svg.setAttribute('width', width);
    svg.setAttribute('height', chart.height);
  }

  return { draw };
})();
