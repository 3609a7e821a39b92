// Makes a sample PowerPoint deck for tests: a title slide, then content slides
// with a heading, bullet lines (partly non-ASCII) and, on most, a generated
// picture; a few carry a table or a chart.
// Usage: node make-deck.mjs OUT.pptx SLIDES [--title TEXT]
// SLIDES counts all slides, the title slide included.
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import PptxGenJS from 'pptxgenjs';

function usage(msg) {
  if (msg) process.stderr.write(`make-deck: ${msg}\n`);
  process.stderr.write('usage: make-deck OUT.pptx SLIDES [--title TEXT]\n');
  process.exit(2);
}

const positional = [];
let title = 'Quarterly review';
const argv = process.argv.slice(2);
for (let i = 0; i < argv.length; i++) {
  const a = argv[i];
  if (a === '--title') {
    if (i + 1 >= argv.length) usage('--title needs a value');
    title = argv[++i];
  } else if (a.startsWith('--title=')) {
    title = a.slice('--title='.length);
  } else if (a === '-h' || a === '--help') {
    usage();
  } else if (a.startsWith('--') && a !== '--') {
    usage(`unknown option ${a}`);
  } else {
    positional.push(a);
  }
}
if (positional.length !== 2) usage();
const [outPath, slidesArg] = positional;
if (!/^[1-9][0-9]*$/.test(slidesArg)) usage(`SLIDES must be a positive number, not "${slidesArg}"`);
const slideCount = Number(slidesArg);

// Small seeded PRNG (mulberry32) so the same arguments give the same deck.
function rng(seed) {
  let s = seed >>> 0;
  return () => {
    s = (s + 0x6d2b79f5) >>> 0;
    let t = s;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// --- Minimal PNG encoder (8-bit RGB, no interlace) ---
const crcTable = new Uint32Array(256).map((_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
function crc32(buf) {
  let c = 0xffffffff;
  for (const b of buf) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}
function chunk(type, data) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(data.length, 0);
  head.write(type, 4, 'ascii');
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), data])), 0);
  return Buffer.concat([head, data, crc]);
}
function encodePng(width, height, rgb) {
  const stride = width * 3;
  const raw = Buffer.alloc((stride + 1) * height);
  for (let y = 0; y < height; y++) {
    const o = y * (stride + 1);
    const row = y * stride;
    // "Up" filter: smooth gradients then deflate to a fraction of their size.
    raw[o] = y === 0 ? 0 : 2;
    for (let x = 0; x < stride; x++) {
      raw[o + 1 + x] = y === 0 ? rgb[row + x] : (rgb[row + x] - rgb[row - stride + x]) & 0xff;
    }
  }
  const ihdr = Buffer.alloc(13);
  ihdr.writeUInt32BE(width, 0);
  ihdr.writeUInt32BE(height, 4);
  ihdr[8] = 8; // bit depth
  ihdr[9] = 2; // colour type RGB
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', ihdr),
    chunk('IDAT', zlib.deflateSync(raw, { level: 6 })),
    chunk('IEND', Buffer.alloc(0)),
  ]);
}

function hsl(h, s, l) {
  const f = (n) => {
    const k = (n + h / 30) % 12;
    const a = s * Math.min(l, 1 - l);
    return Math.round(255 * (l - a * Math.max(-1, Math.min(k - 3, 9 - k, 1))));
  };
  return [f(0), f(8), f(4)];
}

// A diagonal two-colour gradient with a few translucent circles and boxes.
function makePicture(seed, width = 400, height = 300) {
  const r = rng(seed);
  const hue = r() * 360;
  const c0 = hsl(hue, 0.75, 0.55);
  const c1 = hsl((hue + 90 + r() * 120) % 360, 0.7, 0.35);
  const rgb = new Uint8Array(width * height * 3);
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      const t = (x / width + y / height) / 2;
      const i = (y * width + x) * 3;
      for (let k = 0; k < 3; k++) rgb[i + k] = c0[k] + (c1[k] - c0[k]) * t;
    }
  }
  const shapes = 3 + Math.floor(r() * 4);
  for (let n = 0; n < shapes; n++) {
    const col = hsl(r() * 360, 0.85, 0.5 + r() * 0.2);
    const alpha = 0.55 + r() * 0.35;
    const cx = r() * width;
    const cy = r() * height;
    const size = 30 + r() * 90;
    const circle = r() < 0.5;
    const x0 = Math.max(0, Math.floor(cx - size));
    const x1 = Math.min(width, Math.ceil(cx + size));
    const y0 = Math.max(0, Math.floor(cy - size));
    const y1 = Math.min(height, Math.ceil(cy + size));
    for (let y = y0; y < y1; y++) {
      for (let x = x0; x < x1; x++) {
        if (circle && (x - cx) ** 2 + (y - cy) ** 2 > size * size) continue;
        if (!circle && (Math.abs(x - cx) > size || Math.abs(y - cy) > size * 0.6)) continue;
        const i = (y * width + x) * 3;
        for (let k = 0; k < 3; k++) rgb[i + k] = rgb[i + k] * (1 - alpha) + col[k] * alpha;
      }
    }
  }
  return 'data:image/png;base64,' + encodePng(width, height, rgb).toString('base64');
}

// --- Text material ---
const topics = [
  'Überblick',
  'Année fiscale 2024',
  '季度报告',
  'Ελληνικά: Σύνοψη',
  'Revenue and margins',
  'Customer growth',
  'Product roadmap',
  'Risks & mitigations',
  'Nächste Schritte',
  'Coûts d’exploitation',
  'Regional results',
  'Outlook',
];
const bulletPool = [
  'Umsatz gegenüber Vorjahr gestiegen',
  'Année fiscale close le 31 décembre',
  '季度报告：收入增长百分之十二',
  'Ελληνικά κείμενα για τη δοκιμή',
  'Operating costs within budget',
  'Two new regions opened this quarter',
  'Größere Kunden: Überprüfung läuft',
  'Prévisions révisées à la hausse',
  'Backlog reduced by a third',
  '市场份额稳定',
  'Hiring plan on track — 14 of 16 roles filled',
  'Déploiement prévu au deuxième trimestre',
  'Σημαντική βελτίωση της απόδοσης',
  'Support tickets down 18 %',
];

// --- Deck ---
function buildDeck() {
  const pptx = new PptxGenJS();
  pptx.layout = 'LAYOUT_16x9'; // 10 x 5.625 in
  pptx.title = title;
  pptx.subject = 'Sample deck';
  pptx.author = 'Quillset';
  pptx.company = 'Quillset';

  const first = pptx.addSlide();
  first.background = { color: '1F3A5F' };
  first.addText(title, {
    x: 0.6, y: 1.6, w: 8.8, h: 1.2, fontSize: 40, bold: true, color: 'FFFFFF', fontFace: 'Arial',
  });
  first.addText(`Überblick · Année fiscale · 季度报告 · Ελληνικά — ${slideCount} slides`, {
    x: 0.6, y: 2.9, w: 8.8, h: 0.6, fontSize: 18, color: 'D0DCEB', fontFace: 'Arial',
  });

  for (let n = 2; n <= slideCount; n++) {
    const r = rng(n * 7919);
    const slide = pptx.addSlide();
    const topic = topics[(n - 2) % topics.length];
    slide.addText(`${n}. ${topic}`, {
      x: 0.4, y: 0.25, w: 9.2, h: 0.8, fontSize: 28, bold: true, color: '1F3A5F', fontFace: 'Arial',
    });
    const lines = 3 + Math.floor(r() * 3);
    const start = Math.floor(r() * bulletPool.length);
    const bullets = [];
    for (let k = 0; k < lines; k++) {
      bullets.push({ text: bulletPool[(start + k * 3) % bulletPool.length], options: { bullet: true, breakLine: true } });
    }
    slide.addText(bullets, {
      x: 0.4, y: 1.2, w: 4.6, h: 3.8, fontSize: 16, color: '333333', fontFace: 'Arial', valign: 'top',
    });
    slide.addText(`${title} — ${n} / ${slideCount}`, {
      x: 0.4, y: 5.15, w: 9.2, h: 0.3, fontSize: 10, color: '888888', fontFace: 'Arial',
    });

    // Every fourth content slide gets a table or chart instead of a picture.
    const kind = (n - 2) % 4 === 3 ? ((n - 2) % 8 === 3 ? 'table' : 'chart') : 'picture';
    if (kind === 'picture') {
      slide.addImage({ data: makePicture(n * 104729 + 17), x: 5.3, y: 1.2, w: 4.2, h: 3.15 });
    } else if (kind === 'table') {
      const rows = [['Region', 'Q1', 'Q2', 'Q3', 'Q4']];
      for (const region of ['Nord', 'Süd', 'Île-de-France', '华东']) {
        rows.push([region, ...[0, 1, 2, 3].map(() => String(100 + Math.floor(r() * 900)))]);
      }
      slide.addTable(rows, {
        x: 5.3, y: 1.3, w: 4.2, colW: [1.4, 0.7, 0.7, 0.7, 0.7], fontSize: 12, fontFace: 'Arial', border: { type: 'solid', pt: 0.5, color: '999999' },
        fill: { color: 'F4F7FB' },
      });
    } else {
      const labels = ['Q1', 'Q2', 'Q3', 'Q4'];
      slide.addChart(pptx.ChartType.bar, [
        { name: 'Umsatz', labels, values: labels.map(() => 20 + Math.round(r() * 80)) },
        { name: 'Coûts', labels, values: labels.map(() => 10 + Math.round(r() * 60)) },
      ], { x: 5.3, y: 1.2, w: 4.2, h: 3.2, showLegend: true, legendPos: 'b', chartColors: ['2E86DE', 'F39C12'] });
    }
  }
  return pptx;
}

// pptxgenjs stamps the current time (document properties, zip entries) and
// uses Math.random for some ids; pin both so equal arguments give equal bytes.
async function deterministic(fn) {
  const RealDate = globalThis.Date;
  const realRandom = Math.random;
  const fixed = RealDate.UTC(2024, 0, 1, 9, 0, 0);
  class FixedDate extends RealDate {
    constructor(...args) {
      if (args.length === 0) super(fixed);
      else super(...args);
    }
    static now() { return fixed; }
  }
  globalThis.Date = FixedDate;
  Math.random = rng(0x5eed);
  try {
    return await fn();
  } finally {
    globalThis.Date = RealDate;
    Math.random = realRandom;
  }
}

const data = await deterministic(() => buildDeck().stream({ compression: true }));
// Write beside the target and rename, so a failed run leaves no partial deck.
const tmp = path.join(path.dirname(outPath), `.${path.basename(outPath)}.${process.pid}.tmp`);
try {
  fs.writeFileSync(tmp, data);
  fs.renameSync(tmp, outPath);
} catch (e) {
  fs.rmSync(tmp, { force: true });
  throw e;
}
