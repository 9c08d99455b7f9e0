// The real page in headless Chromium, as a user meets it: the first picture,
// the tab strip and its keys, both pages' buttons, the modal About box, the
// rate of ticks, and nothing asked of any host but the one that served it.
// Usage: node page_test.mjs SITE_FOLDER GOLDEN_FOLDER
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { address, launch, open, serve, ticks } from './browser.mjs';

const [site, golden] = process.argv.slice(2);
const server = await serve(site);
const browser = await launch();
let failed = 0;
async function check(name, body) {
  try {
    await body();
    console.log(`ok   ${name}`);
  } catch (e) {
    failed += 1;
    console.log(`FAIL ${name}\n     ${String(e.message || e).split('\n').join('\n     ')}`);
  }
}

// A PNG's pixels (base64), decoded by the browser on a page of its own.
async function pngPixels(inBrowser, base64) {
  const page = await inBrowser.newPage();
  const result = await page.evaluate(async (src) => {
    const image = new Image();
    image.src = src;
    await image.decode();
    const c = new OffscreenCanvas(image.width, image.height).getContext('2d');
    c.drawImage(image, 0, 0);
    return { w: image.width, h: image.height, data: Array.from(c.getImageData(0, 0, image.width, image.height).data) };
  }, 'data:image/png;base64,' + base64);
  await page.close();
  return result;
}
const goldenPixels = (file) => pngPixels(browser, readFileSync(join(golden, file)).toString('base64'));

const page = await browser.newPage();
page.requests = [];
page.errors = [];
page.on('request', (r) => page.requests.push(r.url()));
page.on('console', (m) => { if (m.type() === 'error') page.errors.push(m.text()); });
page.on('pageerror', (e) => page.errors.push(String(e)));
// The canvas as it stands once the first tick has been painted.
await page.evaluateOnNewDocument(() => {
  for (const type of [CanvasRenderingContext2D, OffscreenCanvasRenderingContext2D]) {
    const put = type.prototype.putImageData;
    type.prototype.putImageData = function (...args) {
      put.apply(this, args);
      if (!window.firstPicture && window.Module && Module.ticks >= 1) {
        const c = this.canvas;
        window.firstPicture = { w: c.width, h: c.height, data: Array.from(this.getImageData(0, 0, c.width, c.height).data) };
      }
    };
  }
});
await page.goto(address(server), { waitUntil: 'load' });
await page.waitForFunction(() => window.firstPicture, { timeout: 20000 });

// Helpers on the page: its parts by what a user sees.
const dom = `
  window.lv = {
    pages: () => [...document.querySelector('.tabs').parentElement.children].slice(1),
    page: (i) => lv.pages()[i],
    buttons: (i, text) => [...lv.page(i).querySelectorAll('button')].filter((b) => !b.hidden && b.textContent === text),
    lines: (i) => [...lv.page(i).querySelectorAll('input')].filter((e) => !e.hidden).map((e) => e.value),
    rateLine: () => lv.lines(0).find((l) => l.startsWith('モデル回転率')),
    sum: (i) => { const c = lv.page(i).querySelector('canvas').surface;
                  return Array.from(c.getContext('2d').getImageData(0, 0, c.width, c.height).data).reduce((a, b, k) => (a + b * (k % 7 + 1)) % 1000000007, 0); },
    active: () => [...document.querySelectorAll('.tabs span')].findIndex((t) => t.classList.contains('sel')),
  };`;
await page.evaluate(dom);
const on = (f, ...a) => page.evaluate(f, ...a);
// The program takes the page's events in its own loop: a moment later.
async function until(f, expected, what) {
  try {
    await page.waitForFunction((g, e) => JSON.stringify(eval(g)()) === JSON.stringify(e), { timeout: 3000 }, f.toString(), expected);
  } catch {
    assert.deepEqual(await on(f), expected, what);
  }
}
const handle = (f, ...a) => page.evaluateHandle(f, ...a);

await check('the first picture of page one is the golden one, pixel for pixel', async () => {
  const [shown, expected] = [await on(() => window.firstPicture), await goldenPixels('page1_first_tick.png')];
  assert.deepEqual([shown.w, shown.h], [expected.w - 1, expected.h - 1], 'canvas size');
  let differ = 0;
  for (let y = 0; y < shown.h; ++y) {
    for (let x = 0; x < shown.w; ++x) {
      for (let k = 0; k < 3; ++k) {
        differ += shown.data[(y * shown.w + x) * 4 + k] !== expected.data[(y * expected.w + x) * 4 + k] ? 1 : 0;
      }
    }
  }
  assert.equal(differ, 0, 'colour components that differ');
});

await check("the document's title and the frame's place", async () => {
  assert.equal(await page.title(), '3D demo Lunvik');
  const box = await on(() => { const r = document.querySelector('.k1').getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; });
  assert.deepEqual(box, [0, 0, 750, 700]);
});

await check('page one: a rate button steps its component, Random draws new rates', async () => {
  await (await handle(() => lv.buttons(0, '<=')[1])).click();
  await ticks(page, 2);
  assert.equal(await on(() => lv.rateLine()), 'モデル回転率 : x = 0.70, y = 0.00, z = 0.00 [rad/s]');
  await (await handle(() => lv.buttons(0, 'Random')[0])).click();
  await ticks(page, 2);
  const rates = (await on(() => lv.rateLine())).match(/-?\d+\.\d\d/g).map(Number);
  assert.equal(rates.length, 3);
  assert.ok(rates.every((r) => r >= 0 && r <= 8.38) && rates.some((r) => r !== 0), `rates ${rates}`);
});

await check('the tab strip switches pages; arrow keys on it do too', async () => {
  await (await handle(() => document.querySelectorAll('.tabs span')[1])).click();
  await until(() => lv.active(), 1);
  assert.deepEqual(await on(() => lv.pages().map((p) => p.hidden)), [true, false]);
  await page.keyboard.press('ArrowLeft');
  await until(() => lv.active(), 0);
  await page.keyboard.press('ArrowRight');
  await until(() => lv.active(), 1);
});

await check('page two stands still until START sets it moving', async () => {
  await ticks(page, 2);
  const before = await on(() => lv.sum(1));
  await ticks(page, 4);
  assert.equal(await on(() => lv.sum(1)), before, 'moved before START');
  await (await handle(() => lv.buttons(1, 'START')[0])).click();
  await ticks(page, 4);
  assert.notEqual(await on(() => lv.sum(1)), before, 'still after START');
});

await check('Tab visits the tab stops only, Enter presses the focused button', async () => {
  await (await handle(() => document.querySelectorAll('.tabs span')[0])).click();
  await until(() => lv.active(), 0);
  const seen = [];
  for (let i = 0; i < 20; ++i) {
    await page.keyboard.press('Tab');
    await ticks(page, 1);
    seen.push(await on(() => { const e = document.activeElement; return e.tagName + (e.classList.contains('tabs') ? ':strip' : ''); }));
  }
  assert.ok(seen.every((s) => s === 'BUTTON' || s === 'DIV:strip'), seen.join(' '));
  assert.ok(seen.includes('DIV:strip'), 'Tab comes round to the strip');
  await on(() => lv.buttons(0, '停止')[1].focus());  // x's stop
  await page.keyboard.press('Enter');
  await ticks(page, 2);
  assert.match(await on(() => lv.rateLine()), /^モデル回転率 : x = 0\.00,/);
  await page.keyboard.press('Tab');
  await until(() => document.activeElement !== lv.buttons(0, '停止')[1], true, 'Tab moves on');
  await page.keyboard.down('Shift');
  await page.keyboard.press('Tab');
  await page.keyboard.up('Shift');
  await until(() => document.activeElement === lv.buttons(0, '停止')[1], true, 'Shift+Tab goes back');
});

await check('the About box is modal, the scenes move behind it, Enter and Escape close it', async () => {
  for (const close of ['Enter', 'Escape']) {
    await page.keyboard.down('Alt');
    await page.keyboard.press('KeyH');
    await page.keyboard.up('Alt');
    await page.keyboard.press('Enter');
    await page.waitForSelector('dialog[open]', { timeout: 5000 });
    const line = await on(() => lv.rateLine());
    await (await handle(() => lv.buttons(0, 'Random')[0])).click();
    const before = await on(() => lv.sum(0));
    await ticks(page, 4);
    assert.equal(await on(() => lv.rateLine()), line, 'a click reached the page behind');
    assert.notEqual(await on(() => lv.sum(0)), before, 'page one stood still');
    await page.keyboard.press(close);
    await page.waitForSelector('dialog', { hidden: true, timeout: 5000 });
  }
});

await check('40 ticks a second, within 1 %', async () => {
  const [t0, n0] = await on(() => [performance.now(), Module.ticks]);
  await new Promise((r) => setTimeout(r, 5000));
  const [t1, n1] = await on(() => [performance.now(), Module.ticks]);
  const rate = (n1 - n0) / ((t1 - t0) / 1000);
  assert.ok(rate >= 39.6 && rate <= 40.4, `${rate.toFixed(2)} ticks a second`);
});

// A background tab's timers stop or slow down; shown again, the program
// ticks on at its rate, with no burst of the ticks it missed.
await check('after a frozen second, no burst of missed ticks', async () => {
  const cdp = await page.createCDPSession();
  await cdp.send('Page.setWebLifecycleState', { state: 'frozen' });
  await new Promise((r) => setTimeout(r, 1000));
  await cdp.send('Page.setWebLifecycleState', { state: 'active' });
  const [t0, n0] = await on(() => [performance.now(), Module.ticks]);
  await new Promise((r) => setTimeout(r, 250));
  const [t1, n1] = await on(() => [performance.now(), Module.ticks]);
  assert.ok(n1 - n0 <= Math.ceil((t1 - t0) / 25) + 1, `${n1 - n0} ticks in ${(t1 - t0).toFixed(0)} ms`);
  await ticks(page, 4);
});

// The pixels the screen shows of page p's drawing area (decoded in
// inBrowser), less inset CSS pixels at each edge.
async function shownPixels(p, inBrowser, inset = 0) {
  const b = await p.evaluate(() => {
    const r = document.querySelector('canvas').getBoundingClientRect();
    return { x: r.x, y: r.y, width: r.width, height: r.height };
  });
  const clip = { x: b.x + inset, y: b.y + inset, width: b.width - 2 * inset, height: b.height - 2 * inset };
  return (await pngPixels(inBrowser, await p.screenshot({ clip, encoding: 'base64' }))).data;
}

// What the screen shows of a page's drawing area: its red and cyan pixels.
async function shownColours(p) {
  const data = await shownPixels(p, browser);
  const count = { red: 0, cyan: 0 };
  for (let i = 0; i < data.length; i += 4) {
    count.red += data[i] === 255 && data[i + 1] === 0 && data[i + 2] === 0 ? 1 : 0;
    count.cyan += data[i] === 0 && data[i + 1] === 255 && data[i + 2] === 255 ? 1 : 0;
  }
  return count;
}

// The canvas hands its pixels to an OffscreenCanvas where the browser has
// one; a browser without it (Safari before 16.4) draws on the canvas itself.
await check('the scene shows, through an OffscreenCanvas or without one', async () => {
  assert.ok(await on(() => document.querySelector('canvas').surface instanceof OffscreenCanvas), 'offscreen here');
  const here = await shownColours(page);
  assert.ok(here.red > 0 && here.cyan > 0, `shown here: ${JSON.stringify(here)}`);
  const p = await browser.newPage();
  await p.evaluateOnNewDocument(() => { delete window.OffscreenCanvasRenderingContext2D; });
  await p.goto(address(server), { waitUntil: 'load' });
  await p.waitForFunction(() => window.Module && Module.ticks > 4, { timeout: 20000 });
  assert.ok(await p.evaluate(() => { const c = document.querySelector('canvas'); return c.surface === c; }), 'own context without');
  const without = await shownColours(p);
  await p.close();
  assert.ok(without.red > 0 && without.cyan > 0, `shown without: ${JSON.stringify(without)}`);
});

await check('no console errors, no request to any other host', async () => {
  assert.deepEqual(page.errors, []);
  const others = page.requests.filter((u) => !u.startsWith(address(server)));
  assert.deepEqual(others, []);
});

// On HiDPI screens the canvas has a pixel per device pixel: what the
// screen shows of the drawing area holds the scene's colours only, no
// smoothed mixtures of them.
await check('crisp at device pixel ratios 1.5 and 2', async () => {
  for (const scale of [1.5, 2]) {
    const hi = await launch({ scale });
    const p = await open(hi, address(server));
    await p.waitForFunction(() => window.Module && Module.ticks > 4, { timeout: 20000 });
    const box = await p.evaluate(() => {
      const c = document.querySelector('canvas');
      return { w: c.surface.width, cssW: c.getBoundingClientRect().width };
    });
    assert.equal(box.w, Math.ceil(box.cssW * scale), `canvas pixels at ${scale}`);
    // Inside its edges: a clip at a fractional device pixel takes in a row of the frame.
    const data = await shownPixels(p, hi, 1);
    let mixed = 0;
    for (let i = 0; i < data.length; i += 4) {
      mixed += [data[i], data[i + 1], data[i + 2]].every((v) => v === 0 || v === 255) ? 0 : 1;
    }
    await hi.close();
    assert.equal(mixed, 0, `smoothed pixels at ${scale}`);
  }
});

await browser.close();
server.close();
console.log(failed === 0 ? 'PASS' : `${failed} checks failed`);
process.exit(failed === 0 ? 0 : 1);
