// The browser build's budgets, measured in one Chromium run (docs/performance.md):
// what the page downloads, gzip-compressed; when its first frame is painted
// after the load event; and the CPU the browser's renderer and GPU
// processes spend with both pages animating and page two on show, against
// a canvas-native peer page (peer.html) measured in the same run, in
// alternating rounds so that a busy moment of the machine falls on one
// round, not on one side.
// With a second site (a build before a change), its rounds take turns too.
// Usage: node bench/web/measure.mjs SITE_FOLDER [SECONDS] [ROUNDS] [OTHER_SITE]
import { readFileSync, readdirSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';
import { address, launch, open, serve, ticks } from '../../tests/web/browser.mjs';

const [site, seconds = '10', rounds = '5', other] = process.argv.slice(2);
const here = dirname(fileURLToPath(import.meta.url));

let bytes = 0;
for (const file of readdirSync(site)) {
  bytes += gzipSync(readFileSync(join(site, file)), { level: 9 }).length;
}
console.log(`download, gzip -9: ${(bytes / 1024).toFixed(1)} KiB (${readdirSync(site).join(', ')})`);

// CPU ticks (1/100 s) of the browser's renderer and GPU processes (its
// descendants: renderers are the zygote's children), by process: a renderer
// of a closed page may still be going when the next round starts.
function cpuTicks(browserPid) {
  const procs = new Map();
  for (const pid of readdirSync('/proc').filter((p) => /^\d+$/.test(p))) {
    try {
      const stat = readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ');
      const cmd = readFileSync(`/proc/${pid}/cmdline`, 'utf8');
      procs.set(Number(pid), { ppid: Number(stat[1]), ticks: Number(stat[11]) + Number(stat[12]), cmd });
    } catch { /* gone meanwhile */ }
  }
  const ours = (pid) => pid === browserPid || (procs.has(pid) && pid > 1 && ours(procs.get(pid).ppid));
  const ticksOf = new Map();
  for (const [pid, p] of procs) {
    if (ours(p.ppid) && /--type=(renderer|gpu-process)/.test(p.cmd)) ticksOf.set(pid, p.ticks);
  }
  return ticksOf;
}

async function cpuOver(browser, page) {
  const pid = browser.process().pid;
  const before = cpuTicks(pid);
  await new Promise((r) => setTimeout(r, Number(seconds) * 1000));
  let spent = 0;
  for (const [p, t] of cpuTicks(pid)) spent += (t - (before.get(p) || 0)) / 100;
  await page.close();
  return (100 * spent) / Number(seconds);
}

// Ours with both pages animating and page two on show.
async function openLunvik(browser, url) {
  const page = await open(browser, url);
  await page.waitForFunction(() => window.Module && Module.ticks > 0, { timeout: 20000 });
  await (await page.$$('.tabs span'))[1].click();
  await ticks(page, 4);
  await page.evaluate(() => [...document.querySelectorAll('button')].find((b) => b.textContent === 'START').click());
  await ticks(page, 4);
  return page;
}

const median = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  return (s[(s.length - 1) >> 1] + s[s.length >> 1]) / 2;
};

const server = await serve(site);
const peerServer = await serve(here);
const browser = await launch();
const firsts = [];
for (let run = 0; run < 5; ++run) {
  const page = await open(browser, address(server));
  await page.waitForFunction(() => window.Module && Module.firstPut, { timeout: 20000 });
  firsts.push(await page.evaluate(() => Module.firstPut - performance.getEntriesByType('navigation')[0].loadEventEnd));
  await page.close();
}
firsts.sort((a, b) => a - b);
console.log(`first frame after load: median ${firsts[2].toFixed(0)} ms, worst ${firsts[4].toFixed(0)} ms of 5 loads`);

const otherServer = other && (await serve(other));
const sides = { Lunvik: () => openLunvik(browser, address(server)),
                peer: () => open(browser, address(peerServer) + 'peer.html') };
if (other) sides[other] = () => openLunvik(browser, address(otherServer));
const cpu = Object.fromEntries(Object.keys(sides).map((name) => [name, []]));
const line = (name, xs) => `${name} ${xs.map((x) => x.toFixed(1)).join(' / ')} % (median ${median(xs).toFixed(1)})`;
for (let round = 1; round <= Number(rounds); ++round) {
  for (const name in sides) cpu[name].push(await cpuOver(browser, await sides[name]()));
  console.log(`round ${round}: ` + Object.keys(sides).map((name) => `${name} ${cpu[name].at(-1).toFixed(1)} %`).join(', '));
}
console.log(`renderer + GPU CPU over ${rounds} rounds of ${seconds} s, of one core:`);
for (const name in sides) console.log('  ' + line(name, cpu[name]));
console.log(`  ratio of the medians, Lunvik / peer: ${(median(cpu.Lunvik) / median(cpu.peer)).toFixed(2)}`);
await browser.close();
server.close();
peerServer.close();
if (otherServer) otherServer.close();
