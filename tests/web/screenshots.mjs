// Screenshots of both pages of the site in headless Chromium, the page's
// top-left 750 by 700 CSS pixels each, once the scenes have turned a little.
// Usage: node screenshots.mjs SITE_FOLDER OUT_FOLDER
import { join } from 'node:path';
import { address, launch, open, serve, ticks } from './browser.mjs';

const [site, out] = process.argv.slice(2);
const server = await serve(site);
const browser = await launch();
const page = await open(browser, address(server));
await page.waitForFunction(() => window.Module && Module.ticks > 0, { timeout: 20000 });
const clip = { x: 0, y: 0, width: 750, height: 700 };
await ticks(page, 80);
await page.screenshot({ path: join(out, 'web-page1.png'), clip });
await (await page.$$('.tabs span'))[1].click();
await ticks(page, 80);
await page.screenshot({ path: join(out, 'web-page2.png'), clip });
await browser.close();
server.close();
console.log(`Screenshots: ${join(out, 'web-page1.png')} and ${join(out, 'web-page2.png')}`);
