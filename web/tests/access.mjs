// The keyboard and the live region, the address both ways, a phone's screen, print, offline use,
// updates, and the weight of a visit.
import { execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import { test } from 'node:test';
import { gzipSync } from 'node:zlib';
import {
  kinds,
  site,
  cli,
  screenshot,
  labels,
  check,
  origin,
  browser,
  page,
  outside,
  dialogs,
  drawn,
  open,
  text,
  value,
  results,
  shared,
} from './browser.mjs';

test('the keyboard alone, and the live region', async () => {
  // The keyboard alone: typing replaces the Solar Day, Tab goes in the window's order, Enter in
  // a box does not compute, Enter on Compute does.
  await open();
  await page.keyboard.type('10');
  check((await value('txtRP')) === '10', 'typing at the start replaces the Solar Day');
  const order = [];
  for (let i = 0; i < 5; i += 1) {
    await page.keyboard.press('Tab');
    order.push(await page.evaluate(() => document.activeElement.id));
  }
  check(
    order.join(' ') === 'txtAlpha txtLat txtY txtTilt Command1',
    `Tab order: ${order.join(' ')}`,
  );
  await page.focus('#txtLat');
  await page.keyboard.press('Enter');
  check((await text('lblMin')) === '', 'Enter in a box does not compute');
  await page.focus('#Command1');
  await page.keyboard.press('Enter');
  check((await text('lblMin')) !== '', 'Enter on Compute computes');
  const heard = await text('announce');
  check(heard.startsWith('Min Day: '), `the live region says "${heard.slice(0, 40)}..."`);
  // The results are said by the announcer alone, and the sliders say their unit.
  check(
    (await page.$$eval('output', (outputs) =>
      outputs.every((o) => o.getAttribute('aria-live') === 'off'),
    )) &&
      (await page.$eval('#tilt-slider', (e) => e.getAttribute('aria-valuetext'))) ===
        '23.5 degrees' &&
      (await page.$eval('#latitude-slider', (e) => e.getAttribute('aria-valuetext'))) ===
        '38 degrees',
    'the results are no live regions of their own, and the sliders say "23.5 degrees"',
  );
  // Nothing twice: a press with a date says its results once, and a stop is left to the report.
  const announced = async (act) => {
    await page.evaluate(() => {
      const region = document.getElementById('announce');
      window.heardTexts = [];
      new MutationObserver(() => window.heardTexts.push(region.textContent)).observe(region, {
        childList: true,
        characterData: true,
        subtree: true,
      });
    });
    await act();
    return page.evaluate(() => window.heardTexts.filter((t) => t !== ''));
  };
  const onADate = await announced(async () => {
    await page.$eval('#date', (e) => {
      e.value = '2026-03-01';
      e.dispatchEvent(new Event('change'));
    });
    // The first date on a zone's clock waits for the names of its offsets.
    await page.waitForFunction(() => window.heardTexts.some((t) => t !== ''));
  });
  const onAStop = await announced(async () => {
    await page.$eval('#txtLat', (e) => {
      e.value = '66.5';
    });
    await page.click('#Command1');
  });
  check(
    onADate.length === 1 &&
      onADate[0].startsWith('Min Day: ') &&
      onAStop.length === 0 &&
      (await text('report')).startsWith('Division by zero.'),
    `the live region says a date's results once (${onADate.length}) and leaves a stop to the report (${onAStop.length})`,
  );
});

test('the address both ways, and what it never runs', async () => {
  // The address: opening it fills the boxes and computes at once, the same texts as the
  // companion; a press writes the boxes back into it; what is unknown is named and never run.
  const scenario = {
    tilt: '25.19',
    latitude: '-41.5',
    solar_day: '24.6597',
    from_solstice: '45',
    year: '668.6',
  };
  const query = `?${new URLSearchParams(scenario)}&bogus=1&latitude=99`;
  await open(query);
  const companion = JSON.parse(
    execFileSync(
      cli,
      ['--json', ...Object.entries(scenario).flatMap(([k, v]) => [`--${k.replace('_', '-')}`, v])],
      { encoding: 'utf8' },
    ),
  );
  const shown = await results();
  check(
    Object.entries(labels).every(([k]) => shown[k] === companion[k]),
    `an address computes at once, as the companion does: ${shown.min}`,
  );
  const note = await text('note');
  check(
    note.includes('bogus') && note.includes('given twice'),
    `unknown parameters named: "${note}"`,
  );
  shared.firstResult = await page.evaluate(() => Number(document.body.dataset.firstResultMs));
  await page.$eval('#txtAlpha', (e) => {
    e.value = '200';
  });
  await page.click('#Command1');
  const address = await page.evaluate(() => location.search);
  await open(address);
  check(
    (await value('txtAlpha')) === '200' && (await text('lblDay')) !== '',
    `a press writes the address: ${address}`,
  );
  await open(
    `?latitude=${encodeURIComponent('<img src=x onerror=alert(1)>')}&tilt=${encodeURIComponent('"><script>alert(2)</script>')}`,
  );
  const injected = await page.evaluate(() => document.querySelectorAll('img, main script').length);
  check(
    injected === 0 &&
      dialogs.length === 0 &&
      (await value('txtLat')) === '<img src=x onerror=alert(1)>',
    'markup in the address stays text in its box',
  );
});

test('a phone needs no sideways scrolling', async () => {
  // A phone: nothing wider than the screen.
  await page.setViewport({ width: 360, height: 740, isMobile: true, hasTouch: true });
  await open('?latitude=-80');
  const wide = await page.evaluate(() => document.documentElement.scrollWidth - innerWidth);
  check(wide <= 0, `a 360 pixel screen needs no sideways scrolling (${wide} pixels over)`);

  // The pictures for the README: the whole page with the map, and on a phone the calculator and
  // the year.
  if (screenshot) {
    await page.setViewport({ width: 1000, height: 1000 });
    await open('?planet=earth&latitude=60&from_solstice=30');
    await page.click('#draw-map');
    await page.waitForSelector('#map svg');
    await drawn();
    await page.screenshot({ path: screenshot, fullPage: true });
    await page.setViewport({ width: 375, height: 1450, isMobile: true, hasTouch: true });
    await open('?planet=earth&latitude=60&from_solstice=30');
    await page.screenshot({ path: screenshot.replace(/\.png$/, '-phone.png') });
  }
  check(
    outside.length === 0,
    `nothing fetched from elsewhere${outside.length ? `: ${outside[0]}` : ''}`,
  );
});

test('printed on one A4 page', async () => {
  // Printed, the values, the results, the chart and the link fit one A4 page.
  await open('?planet=mars&latitude=70');
  const pdf = Buffer.from(await page.pdf({ format: 'A4', printBackground: false }));
  const pages = (pdf.toString('latin1').match(/\/Type\s*\/Page[^s]/g) || []).length;
  check(pages === 1, `printed on ${pages} A4 page(s)`);
});

test('installed, the page works with the network cut', async () => {
  // Installed once, the page works with the network cut: the service worker's copy answers.
  const installed = await browser.newPage();
  await installed.goto(`${origin}/index.html?latitude=38`, { waitUntil: 'load' });
  await installed.evaluate(() => navigator.serviceWorker.ready);
  await installed.reload({ waitUntil: 'load' }); // now under the worker
  const controlled = await installed.evaluate(() => Boolean(navigator.serviceWorker.controller));
  await installed.setOfflineMode(true);
  let offline = false;
  try {
    await installed.goto(`${origin}/index.html?latitude=52`, { waitUntil: 'load' });
    await installed.waitForFunction(() => document.getElementById('lblMin')?.textContent !== '');
    offline = true;
  } catch {
    /* not loaded */
  }
  const manifest = await installed.$eval('link[rel="manifest"]', (l) => l.href).catch(() => '');
  await installed.close();
  check(
    controlled && offline && manifest.endsWith('manifest.webmanifest'),
    'with a manifest, and after the first visit the page computes with the network cut',
  );
});

test('an update is never run mixed with the version before it', async () => {
  // A copy of the site from a host that sends an old Last-Modified and no Cache-Control, so that
  // the browser may answer from its own cache; installed, then updated (index.html and main.js
  // both of build 2, and the service worker's version with them), and reloaded.
  const copy = mkdtempSync(join(tmpdir(), 'daylight-site-'));
  cpSync(site, copy, { recursive: true });
  const host = createServer((request, response) => {
    const name = new URL(request.url, 'http://x').pathname.replace(/^\/$/, '/index.html');
    try {
      const body = readFileSync(join(copy, name.slice(1)));
      response.writeHead(200, {
        'Content-Type': kinds[extname(name)] ?? 'application/octet-stream',
        'Last-Modified': new Date(Date.now() - 30 * 86400000).toUTCString(),
      });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => host.listen(0, '127.0.0.1', resolve));
  const address = `http://127.0.0.1:${host.address().port}/index.html?latitude=38`;
  const visit = await browser.newPage();
  const computed = () =>
    visit.waitForFunction(() => document.getElementById('lblMin')?.textContent !== '');
  await visit.goto(address, { waitUntil: 'load' });
  await visit.evaluate(() => navigator.serviceWorker.ready);
  await visit.reload({ waitUntil: 'load' });
  await computed();
  const edit = (name, change) =>
    writeFileSync(join(copy, name), change(readFileSync(join(copy, name), 'utf8')));
  edit('index.html', (t) => t.replace('<title>', '<meta name="build" content="2" />\n<title>'));
  edit('main.js', (t) => `${t}\ndocument.body.dataset.build = '2';\n`);
  edit('sw.js', (t) => t.replace(/const kVersion = '([^']*)';/, "const kVersion = '$1-2';"));
  await visit.reload({ waitUntil: 'load' });
  await computed();
  const runs = await visit.evaluate(() => [
    document.querySelector('meta[name="build"]')?.content ?? '1',
    document.body.dataset.build ?? '1',
  ]);
  await visit.close();
  host.close();
  rmSync(copy, { recursive: true, force: true });
  check(
    runs[0] === '2' && runs[1] === '2',
    `after an update the page runs one version: index.html of build ${runs[0]}, main.js of ${runs[1]}`,
  );
  check(
    /const kVersion = '[0-9a-f]{16}';/.test(readFileSync(join(site, 'sw.js'), 'utf8')),
    "the service worker's copy is named by the site's hash",
  );
});

test('the weight of a visit', async () => {
  // The weight of what a visit loads, compressed, and the time to a first result.
  // The places and the zones' names are fetched only when first wanted.
  let weight = 0;
  for (const name of readdirSync(site).filter((n) => !n.endsWith('.txt')))
    weight += gzipSync(readFileSync(join(site, name)), { level: 9 }).length;
  check(
    weight < 300 * 1024,
    `page weight ${(weight / 1024).toFixed(1)} kB compressed (goal: under 300)`,
  );
  console.log(
    `note time from load to the first result: ${shared.firstResult.toFixed(1)} ms (goal: under 200)`,
  );
});
