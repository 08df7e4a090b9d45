// 一年の刻: the year chart as SVG, drawn from the shapes the core made of
// it (core/year_chart.h, the very shapes the window's painter draws): the
// bands, the boundary curves, sunrise, sunset and the transit, the Moon's
// curves when asked, the ticks and texts. Under the pointer or a finger, or
// at the keyboard's cursor (arrows move it a day or ten minutes, with Shift
// a week or an hour), the read-out names the day, the clock time and the
// half-hour, as the window's does. It zooms by its buttons (the chart
// scrolls in its frame) and by a phone's pinch, and saves as SVG or PNG.
'use strict';
window.tolmeri = window.tolmeri || {};
window.tolmeri.year = (function () {
  const NS = 'http://www.w3.org/2000/svg';
  const kWidth = 1200; // the command line's size of a year chart
  const kHeight = 800;
  const kZooms = [1, 1.5, 2, 3, 4];
  const byId = (id) => document.getElementById(id);
  let zoom = 0;
  let chart = null;
  let cursor = null; // { day, minute } of the keyboard

  function element(name, attributes = {}) {
    const e = document.createElementNS(NS, name);
    for (const [key, value] of Object.entries(attributes)) e.setAttribute(key, value);
    return e;
  }

  function build(data) {
    const face = getComputedStyle(document.body).fontFamily;
    const svg = element('svg', {
      xmlns: NS, viewBox: `0 0 ${data.width} ${data.height}`, width: data.width,
      height: data.height, role: 'img', 'aria-labelledby': 'year-chart-title', 'font-family': face,
      'data-plot': `${data.plot.left} ${data.plot.top} ${data.plot.right} ${data.plot.bottom}`,
      'data-days': data.days,
    });
    const title = data.texts.find((t) => t.title);
    const caption = element('title', { id: 'year-chart-title' });
    caption.textContent = title ? title.text : '';
    svg.append(caption, element('rect', { width: data.width, height: data.height, fill: '#ffffff' }));

    const bands = element('g', { 'shape-rendering': 'crispEdges', stroke: 'none' });
    for (const band of data.bands) bands.append(element('polygon', { points: band.points, fill: band.fill }));
    // A pixel's line is drawn on its pixel, as the window's painter draws it.
    const lines = element('g', { fill: 'none', transform: 'translate(0.5 0.5)' });
    const stroke = (pen) => {
      const p = data.pens[pen];
      const a = { stroke: p.color, 'stroke-width': p.width };
      if (p.opacity < 1) a['stroke-opacity'] = p.opacity;
      if (p.dash) a['stroke-dasharray'] = '4 2';
      return a;
    };
    for (const line of data.lines) {
      if (line.points.includes(' ')) {
        lines.append(element('polyline', { points: line.points, ...stroke(line.pen) }));
      } else {
        const [x, y] = line.points.split(',');
        lines.append(element('rect', { x: x - 0.5, y: y - 0.5, width: 1, height: 1,
                                       fill: data.pens[line.pen].color }));
      }
    }
    for (const s of data.segments) lines.append(element('path', { d: s.path, ...stroke(s.pen) }));
    const texts = element('g', { 'dominant-baseline': 'text-before-edge' });
    for (const t of data.texts) {
      const size = t.title ? data.titleFont : data.font;
      if (t.box)
        texts.append(element('rect', { x: t.x, y: t.y, width: t.width, height: data.lineHeight,
                                       fill: data.textBox }));
      const text = element('text', { x: t.anchorX, y: t.y, 'font-size': size, fill: t.color });
      if (t.anchor !== 'start') text.setAttribute('text-anchor', t.anchor);
      text.textContent = t.text;
      texts.append(text);
    }
    const cross = element('g', { class: 'cursor', visibility: 'hidden', stroke: '#000000',
                                 'stroke-width': 1, 'stroke-dasharray': '2 2' });
    cross.append(element('line', { x1: data.plot.left, x2: data.plot.right }),
                 element('line', { y1: data.plot.top, y2: data.plot.bottom }));
    svg.append(bands, lines, texts, cross);
    return svg;
  }

  function showZoom() {
    const svg = byId('year-chart').querySelector('svg');
    if (svg) svg.style.width = `${kZooms[zoom] * 100}%`;
    byId('year-zoom-out').disabled = zoom === 0;
    byId('year-zoom-in').disabled = zoom === kZooms.length - 1;
  }

  function draw() {
    const start = performance.now();
    const data = window.tolmeri.core.yearChart(kWidth, kHeight);
    const frame = byId('year-chart');
    if (data.message !== undefined) {
      const p = document.createElement('p');
      p.className = 'problem';
      p.textContent = data.message;
      frame.replaceChildren(p);
      chart = null;
      return;
    }
    chart = data;
    frame.replaceChildren(build(data));
    showZoom();
    byId('year-readout').textContent = '';
    frame.getBoundingClientRect();
    performance.measure('tolmeri-year-chart', { start });
  }

  // The cross at (x, y) of the picture and what is there.
  function point(x, y, text) {
    const cross = byId('year-chart').querySelector('.cursor');
    if (!cross) return;
    const [across, down] = cross.children;
    across.setAttribute('y1', y);
    across.setAttribute('y2', y);
    down.setAttribute('x1', x);
    down.setAttribute('x2', x);
    cross.setAttribute('visibility', text ? 'visible' : 'hidden');
    byId('year-readout').textContent = text;
  }

  function onPointer(event) {
    const svg = byId('year-chart').querySelector('svg');
    if (!svg || !chart) return;
    const at = new DOMPoint(event.clientX, event.clientY).matrixTransform(svg.getScreenCTM().inverse());
    const x = Math.floor(at.x);
    const y = Math.floor(at.y);
    point(x, y, window.tolmeri.core.yearReadout(x, y));
  }

  function onKey(event) {
    if (!chart) return;
    const big = event.shiftKey;
    const start = cursor ?? { day: 0, minute: 720 };
    const moves = {
      ArrowLeft: { day: start.day - (big ? 7 : 1) }, ArrowRight: { day: start.day + (big ? 7 : 1) },
      ArrowUp: { minute: start.minute - (big ? 60 : 10) },
      ArrowDown: { minute: start.minute + (big ? 60 : 10) },
      Home: { day: 0 }, End: { day: chart.days - 1 },
    };
    if (!(event.key in moves)) return;
    event.preventDefault();
    cursor = { ...start, ...moves[event.key] };
    cursor.day = Math.max(0, Math.min(chart.days - 1, cursor.day));
    cursor.minute = Math.max(0, Math.min(1439, cursor.minute));
    const at = window.tolmeri.core.yearCursor(cursor.day, cursor.minute);
    point(at.x, at.y, at.text);
  }

  function svgText() {
    const svg = byId('year-chart').querySelector('svg').cloneNode(true);
    svg.querySelector('.cursor').remove();
    svg.removeAttribute('style');
    return '<?xml version="1.0" encoding="UTF-8"?>\n' + new XMLSerializer().serializeToString(svg);
  }

  function fileName(extension) {
    const title = chart.texts.find((t) => t.title);
    return `tolmeri-year-chart-${(title ? title.text : 'chart').replace(/[\\/:*?"<>|\s]+/g, '_')}.${extension}`;
  }

  function saveSvg() {
    if (!chart) return;
    window.tolmeri.exporter.save(fileName('svg'), svgText(), 'image/svg+xml');
  }

  // The picture at the chart's own size, drawn from the SVG.
  function savePng() {
    if (!chart) return;
    const url = URL.createObjectURL(new Blob([svgText()], { type: 'image/svg+xml' }));
    const image = new Image();
    image.onload = () => {
      const canvas = document.createElement('canvas');
      canvas.width = chart.width;
      canvas.height = chart.height;
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0);
      URL.revokeObjectURL(url);
      canvas.toBlob((blob) => window.tolmeri.exporter.save(fileName('png'), blob, 'image/png'),
                    'image/png');
    };
    image.src = url;
  }

  return {
    show(state) {
      byId('year-moon').checked = state.moon;
    },
    draw,
    install({ setMoon }) {
      byId('year-moon').addEventListener('change', (e) => setMoon(e.target.checked));
      byId('year-zoom-in').addEventListener('click', () => {
        zoom = Math.min(kZooms.length - 1, zoom + 1);
        showZoom();
      });
      byId('year-zoom-out').addEventListener('click', () => {
        zoom = Math.max(0, zoom - 1);
        showZoom();
      });
      const frame = byId('year-chart');
      frame.addEventListener('pointermove', onPointer);
      frame.addEventListener('pointerdown', onPointer);
      frame.addEventListener('keydown', onKey);
      byId('year-save-svg').addEventListener('click', saveSvg);
      byId('year-save-png').addEventListener('click', savePng);
    },
  };
})();
