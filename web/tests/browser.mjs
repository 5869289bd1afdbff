// The browser the page's tests share: a server of the site on the loopback, Debian's chromium,
// headless, with one page whose requests and dialogs are kept, and the helpers the tests use.
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import { after, beforeEach } from 'node:test';
import puppeteer from 'puppeteer-core';

export const [site, goldenFile, cli, screenshot] = process.argv.slice(2);
export const kinds = {
  '.html': 'text/html',
  '.js': 'text/javascript',
  '.css': 'text/css',
  '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
  '.txt': 'text/plain; charset=utf-8',
};
export const labels = {
  min: 'lblMin',
  max: 'lblMax',
  day: 'lblDay',
  night: 'lblNight',
  full: 'lblFull',
};
export const boxOfField = {
  tilt: 'txtTilt',
  latitude: 'txtLat',
  solar_day: 'txtRP',
  from_solstice: 'txtAlpha',
  year: 'txtY',
};

// Each check is said as it is made; the first that fails ends its test, and the next test goes on.
export function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  assert.ok(ok, what);
}

// The site from a server of our own on the loopback, nothing fetched from anywhere else.
// Addresses as long as a browser takes, for the hostile ones.
const server = createServer({ maxHeaderSize: 4 << 20 }, (request, response) => {
  const name = new URL(request.url, 'http://x').pathname.replace(/^\/$/, '/index.html');
  try {
    const body = readFileSync(join(site, name.slice(1)));
    response.writeHead(200, { 'Content-Type': kinds[extname(name)] ?? 'application/octet-stream' });
    response.end(body);
  } catch {
    response.writeHead(404);
    response.end();
  }
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
export const origin = `http://127.0.0.1:${server.address().port}`;

const profile = mkdtempSync(join(tmpdir(), 'daylight-chromium-'));
export const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  userDataDir: profile,
  args: [
    '--headless=new',
    '--no-sandbox',
    '--disable-gpu',
    '--disable-quic',
    '--no-first-run',
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
  ],
});
export const page = await browser.newPage();
// The service worker is tried on a page of its own, at the end; here every file comes fresh.
await page.setBypassServiceWorker(true);
export const outside = [];
// data: addresses are no fetch (the browser's own date picker draws its icon so).
export const requested = [];
page.on('request', (r) => {
  requested.push(r.url());
  if (!r.url().startsWith(origin) && !r.url().startsWith('data:')) outside.push(r.url());
});
export const dialogs = [];
page.on('dialog', async (d) => {
  dialogs.push(d.message());
  await d.dismiss();
});

// Waits for every figure the worker draws, so that none arriving later moves what a test clicks
// or measures.
export const drawn = () =>
  page.waitForFunction(() => document.querySelectorAll('[aria-busy]').length === 0, {
    timeout: 120000,
  });
// Opens the page and waits for its first press and its figures.
export async function open(query = '') {
  await page.goto(`${origin}/index.html${query}`, { waitUntil: 'load' });
  await page.waitForFunction(() => document.getElementById('Command1')?.disabled === false);
  await drawn();
}
// Opens the downloads: each link then has the command line it stands for.
export async function downloadsMade() {
  await page.click('#downloads summary');
  await page.waitForFunction(() =>
    [...document.querySelectorAll('#download-list a')].every((a) => a.dataset.args !== undefined),
  );
}
// The bytes a download link saves, clicked.
export async function savedBytes(name) {
  const folder = mkdtempSync(join(tmpdir(), 'daylight-download-'));
  const session = await page.createCDPSession();
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
  await page.click(`#download-list a[download="${name}"]`);
  const done = () => readdirSync(folder).includes(name);
  for (let i = 0; i < 300 && !done(); i += 1) await new Promise((r) => setTimeout(r, 100));
  await session.send('Browser.setDownloadBehavior', { behavior: 'default' });
  const bytes = done() ? readFileSync(join(folder, name), 'utf8') : '';
  rmSync(folder, { recursive: true });
  return bytes;
}
// Whether a time the page shows as "hh:mm" (or a length as "h h m min") is the companion's decimal
// hours to the minute.
export function toTheMinute(shown, hours) {
  const clock = /^(\d\d):(\d\d)$/.exec(shown);
  const length = /^(?:(\d+) h)? ?(?:(\d+) min)?$/.exec(shown);
  const minutes = clock
    ? Number(clock[1]) * 60 + Number(clock[2])
    : Number(length?.[1] ?? 0) * 60 + Number(length?.[2] ?? 0);
  return (clock || length) && Math.abs(minutes - Number(hours) * 60) <= 0.5 + 1e-9;
}
// What follows a word in a line: "sunrise 05:41," gives "05:41".
export const following = (line, word) =>
  new RegExp(`${word} (\\d\\d:\\d\\d|\\d+ h \\d+ min|\\d+ h|\\d+ min)`).exec(line)?.[1] ?? '';
export const text = (id) => page.$eval(`#${id}`, (e) => e.textContent);
export const value = (id) => page.$eval(`#${id}`, (e) => e.value);
export const results = async () =>
  Object.fromEntries(
    await Promise.all(Object.entries(labels).map(async ([k, id]) => [k, await text(id)])),
  );

after(async () => {
  await browser.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
});
// Every test starts on a desktop-sized screen.
beforeEach(() => page.setViewport({ width: 1000, height: 1100 }));
// What one test measures for another: the time to a first result, for the weight of a visit.
export const shared = { firstResult: NaN };
