import { readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join } from 'node:path';
import puppeteer from 'puppeteer-core';
const site = '/work/main/build/web';
const kinds = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm', '.svg': 'image/svg+xml' };
const server = createServer((q, r) => { const n = new URL(q.url, 'http://x').pathname.replace(/^\/$/, '/index.html'); try { const b = readFileSync(join(site, n.slice(1))); r.writeHead(200, { 'Content-Type': kinds[extname(n)] ?? 'application/octet-stream' }); r.end(b);} catch { r.writeHead(404); r.end(); } });
await new Promise((res) => server.listen(0, '127.0.0.1', res));
const origin = `http://127.0.0.1:${server.address().port}`;
const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--headless=new', '--no-sandbox', '--disable-gpu'] });
const page = await browser.newPage();
page.on('console', (m) => console.log('console:', m.text()));
page.on('pageerror', (e) => console.log('pageerror:', e.message));
const steps = JSON.parse(process.argv[2]);
for (const s of steps) {
  if (s.viewport) await page.setViewport(s.viewport);
  if (s.font) { const c = await page.createCDPSession(); await c.send('Page.setFontSizes', { fontSizes: { standard: s.font } }); }
  if (s.open !== undefined) { await page.goto(`${origin}/index.html${s.open}`, { waitUntil: 'load' }); await page.waitForFunction(() => document.getElementById('Command1')?.disabled === false); await page.waitForFunction(() => document.querySelectorAll('[aria-busy]').length === 0, { timeout: 60000 }); }
  if (s.eval) console.log(JSON.stringify(await page.evaluate(s.eval)));
  if (s.click) await page.click(s.click);
  if (s.type) { await page.focus(s.type[0]); await page.keyboard.type(s.type[1]); }
  if (s.wait) await new Promise((r) => setTimeout(r, s.wait));
  if (s.shot) await page.screenshot({ path: s.shot, fullPage: s.full ?? false });
  if (s.shotel) { const el = await page.$(s.shotel); await el.screenshot({ path: s.path }); }
}
await browser.close(); server.close();
