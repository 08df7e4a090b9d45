// The chart as SVG, drawn from the layout the core made (core/day_chart.h:
// the window's bands, colours, rows, marks and title, at the window's 96
// dots per inch). Each text stands on its grey box as wide as the text
// measures in the page's font (measured on a canvas, so drawing forces no
// layout of the page); the picture is framed to what it holds, the core's
// margin either side, and scales to the room it gets.
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.chart = (function () {
  const NS = 'http://www.w3.org/2000/svg';

  function element(name, attributes) {
    const e = document.createElementNS(NS, name);
    for (const [key, value] of Object.entries(attributes)) e.setAttribute(key, value);
    return e;
  }

  let measure = null;

  // The advance of a text in the chart's face at size pixels.
  function width(text, size) {
    if (!measure) {
      measure = document.createElement('canvas').getContext('2d');
      measure.face = getComputedStyle(document.getElementById('chart')).fontFamily;
    }
    measure.font = `${size}px ${measure.face}`;
    return measure.measureText(text).width;
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

    for (const t of chart.texts) {
      const size = t.kind === 'title' ? chart.titleFont : chart.rowFont;
      const advance = width(t.text, size);
      const g = element('g', { class: t.kind });
      const box = element('rect', { x: t.x, y: t.y, width: advance, height: size,
                                    fill: chart.textBox });
      const text = element('text', { x: t.x, y: t.y, 'font-size': size, fill: t.color });
      text.textContent = t.text;
      g.append(box, text);
      svg.append(g);
      left = Math.min(left, t.x);
      right = Math.max(right, t.x + advance);
    }
    const x = Math.floor(left) - chart.margin;
    const w = Math.ceil(right) + chart.margin - x;
    svg.setAttribute('viewBox', `${x} 0 ${w} ${chart.height}`);
    svg.setAttribute('width', w);
    svg.setAttribute('height', chart.height);
    section.replaceChildren(svg);
  }

  return { draw };
})();
