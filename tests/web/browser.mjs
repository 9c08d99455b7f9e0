// Debian's Chromium, headless, on a folder served from 127.0.0.1: what the
// browser tests, the screenshots and the measurements share. No browser is
// ever downloaded; every request the page makes is recorded, so that a test
// can tell when one would leave this machine.
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';
import puppeteer from 'puppeteer-core';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.wasm': 'application/wasm', '.ttf': 'font/ttf', '.png': 'image/png', '.css': 'text/css',
};

// Serves folder on 127.0.0.1 at port (0: any free one); resolves to the server.
export function serve(folder, port = 0) {
  const server = createServer((request, response) => {
    const path = normalize(join(folder, decodeURIComponent(new URL(request.url, 'http://x').pathname)));
    let file = path.startsWith(normalize(folder)) ? path : '';
    try {
      if (file && statSync(file).isDirectory()) file = join(file, 'index.html');
      const body = readFileSync(file);
      response.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

export function address(server) {
  return `http://127.0.0.1:${server.address().port}/`;
}

// The browser with a fresh profile, gone with close().
export async function launch({ scale = 1, width = 800, height = 760, protocolTimeout = 180000 } = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'lunvik-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           `--user-data-dir=${profile}`, `--force-device-scale-factor=${scale}`],
    defaultViewport: { width, height, deviceScaleFactor: scale },
    protocolTimeout,
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// A new tab that records its requests, console errors and page errors.
export async function open(browser, url) {
  const page = await browser.newPage();
  page.requests = [];
  page.errors = [];
  page.on('request', (r) => page.requests.push(r.url()));
  page.on('console', (m) => { if (m.type() === 'error') page.errors.push(m.text()); });
  page.on('pageerror', (e) => page.errors.push(String(e)));
  await page.goto(url, { waitUntil: 'load' });
  return page;
}

// Waits until the program's clocks have ticked n more times.
export async function ticks(page, n) {
  const start = await page.evaluate(() => Module.ticks || 0);
  await page.waitForFunction((t) => (Module.ticks || 0) >= t, { polling: 10, timeout: 20000 },
                             start + n);
}
