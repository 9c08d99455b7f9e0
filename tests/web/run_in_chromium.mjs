// Runs a test program of the browser build on a page in headless Chromium:
// its output is printed as it comes, its exit code is this one's.
// Usage: node run_in_chromium.mjs FOLDER NAME
import { address, launch, serve } from './browser.mjs';

const [folder, name] = process.argv.slice(2);
const server = await serve(folder);
const browser = await launch({ protocolTimeout: 600000 });
const page = await browser.newPage();
page.on('console', (m) => console.log(m.text()));
// An uncaught error ends the program on the page: the run fails at once
// instead of waiting for an exit code that will never come.
const pageError = new Promise((resolve, reject) => {
  page.on('pageerror', (e) => {
    console.log(`page error: ${e}`);
    reject(e);
  });
});
await page.goto(`${address(server)}layer_tests.html?test=${name}`);
let code = 1;
try {
  await Promise.race([
    page.waitForFunction(() => window.exitCode !== undefined, { timeout: 540000, polling: 200 }),
    pageError,
  ]);
  code = await page.evaluate(() => window.exitCode);
} catch (e) {
  console.log(`${name} did not finish: ${e.message}`);
}
await browser.close();
server.close();
process.exit(code);
