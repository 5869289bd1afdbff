// The page in Debian's chromium, headless, as tests of node:test, each on its own so that one
// failure hides no other: the golden file replayed through its boxes and button text for text, a
// fault with its report beside the box, sizes at three widths, planets, the sky, the map, tables
// that take long made while the page answers, a date, the sliders' frames, the downloads against
// daylight-cli, the keyboard and the live region, the
// address both ways and what it must never run, print, offline use, the page's weight and its
// time to a first result.
// Usage: node page.test.mjs SITE_FOLDER GOLDEN_FILE DAYLIGHT_CLI [SCREENSHOT.png]
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import { after, beforeEach, test } from 'node:test';
import { gzipSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';

const [site, goldenFile, cli, screenshot] = process.argv.slice(2);
const kinds = {
  '.html': 'text/html',
  '.js': 'text/javascript',
  '.css': 'text/css',
  '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
  '.txt': 'text/plain; charset=utf-8',
};
const labels = { min: 'lblMin', max: 'lblMax', day: 'lblDay', night: 'lblNight', full: 'lblFull' };
const boxOfField = {
  tilt: 'txtTilt',
  latitude: 'txtLat',
  solar_day: 'txtRP',
  from_solstice: 'txtAlpha',
  year: 'txtY',
};

// Each check is said as it is made; the first that fails ends its test, and the next test goes on.
function check(ok, what) {
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
const origin = `http://127.0.0.1:${server.address().port}`;

const profile = mkdtempSync(join(tmpdir(), 'daylight-chromium-'));
const browser = await puppeteer.launch({
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
const page = await browser.newPage();
// The service worker is tried on a page of its own, at the end; here every file comes fresh.
await page.setBypassServiceWorker(true);
const outside = [];
// data: addresses are no fetch (the browser's own date picker draws its icon so).
const requested = [];
page.on('request', (r) => {
  requested.push(r.url());
  if (!r.url().startsWith(origin) && !r.url().startsWith('data:')) outside.push(r.url());
});
const dialogs = [];
page.on('dialog', async (d) => {
  dialogs.push(d.message());
  await d.dismiss();
});

// Waits for every figure the worker draws, so that none arriving later moves what a test clicks
// or measures.
const drawn = () =>
  page.waitForFunction(() => document.querySelectorAll('[aria-busy]').length === 0, {
    timeout: 120000,
  });
// Opens the page and waits for its first press and its figures.
async function open(query = '') {
  await page.goto(`${origin}/index.html${query}`, { waitUntil: 'load' });
  await page.waitForFunction(() => document.getElementById('Command1')?.disabled === false);
  await drawn();
}
// Opens the downloads: each link then has the command line it stands for.
async function downloadsMade() {
  await page.click('#downloads summary');
  await page.waitForFunction(() =>
    [...document.querySelectorAll('#download-list a')].every((a) => a.dataset.args !== undefined),
  );
}
// The bytes a download link saves, clicked.
async function savedBytes(name) {
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
function toTheMinute(shown, hours) {
  const clock = /^(\d\d):(\d\d)$/.exec(shown);
  const length = /^(?:(\d+) h)? ?(?:(\d+) min)?$/.exec(shown);
  const minutes = clock
    ? Number(clock[1]) * 60 + Number(clock[2])
    : Number(length?.[1] ?? 0) * 60 + Number(length?.[2] ?? 0);
  return (clock || length) && Math.abs(minutes - Number(hours) * 60) <= 0.5 + 1e-9;
}
// What follows a word in a line: "sunrise 05:41," gives "05:41".
const following = (line, word) =>
  new RegExp(`${word} (\\d\\d:\\d\\d|\\d+ h \\d+ min|\\d+ h|\\d+ min)`).exec(line)?.[1] ?? '';
const text = (id) => page.$eval(`#${id}`, (e) => e.textContent);
const value = (id) => page.$eval(`#${id}`, (e) => e.value);
const results = async () =>
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
let firstResult = NaN;

test('the golden file, text for text, through the boxes and the button', async () => {
  await open();

  // The golden file, line by line through the boxes and the button.
  const golden = readFileSync(goldenFile, 'utf8')
    .split('\n')
    .filter((l) => l.trim() !== '')
    .map((l) => JSON.parse(l));
  const starts = Object.fromEntries(
    await Promise.all(Object.entries(boxOfField).map(async ([f, id]) => [f, await value(id)])),
  );
  let same = 0;
  for (const c of golden) {
    await page.evaluate(
      (texts) => {
        for (const [id, t] of Object.entries(texts)) document.getElementById(id).value = t;
      },
      Object.fromEntries(
        Object.entries(boxOfField).map(([f, id]) => [id, c.input[f] ?? starts[f]]),
      ),
    );
    await page.click('#Command1');
    const shown = await results();
    let ok;
    if (c.output.fault) {
      const report = await text('report');
      // The report's title is the message, starting with a capital.
      const title = `${c.output.message[0].toUpperCase()}${c.output.message.slice(1)}.`;
      ok = Object.values(shown).every((t) => t === '') && report.startsWith(title);
    } else {
      ok = Object.entries(labels).every(([k]) => shown[k] === c.output[k]);
    }
    if (ok) same += 1;
    else console.log(`  ${c.name}: ${JSON.stringify(shown)}`);
  }
  check(
    same === golden.length,
    `golden file through the page: ${same} of ${golden.length} text for text`,
  );
});

test('a fault is reported beside its box', async () => {
  // A fault: the report beside the named box, the box marked and focused, nothing typed lost.
  await open();
  await page.$eval('#txtLat', (e) => {
    e.value = '66.5';
  });
  await page.click('#Command1');
  const report = await text('report');
  check(
    report.startsWith('Division by zero.') && report.includes('polar circle'),
    `fault reported inline: "${report.slice(0, 60)}..."`,
  );
  check(
    await page.$eval(
      '#txtLat',
      (e) =>
        e.getAttribute('aria-invalid') === 'true' &&
        document.activeElement === e &&
        e.value === '66.5',
    ),
    'the named box is marked, focused and keeps 66.5',
  );
  check(
    Object.values(await results()).every((t) => t === ''),
    'no result shown after a fault',
  );
  const beside = await page.evaluate(() => {
    const r = document.getElementById('report').getBoundingClientRect();
    const f = document.getElementById('Frame2').getBoundingClientRect();
    return r.left >= f.right && Math.abs(r.top - f.top) < 8;
  });
  check(beside, 'the report stands beside the Latitude frame');
});

test('a hint names the chart below and its values give an answer', async () => {
  // A hint that leads somewhere: the page names its own chart, and its values give an answer.
  await open('?latitude=-80');
  const southern = await text('report');
  check(
    southern.includes('The chart below shows the daylight of every day') &&
      !southern.includes('daylight-cli'),
    'a hint names the chart below, never a program',
  );
  await page.click('#use-tries');
  check(
    (await value('txtLat')) === '80' &&
      (await value('txtAlpha')) === '180' &&
      (await text('lblFull')) !== '' &&
      (await text('report')) === '',
    'its values, used, give the span of full daylight',
  );
});

test('boxes, answers and charts at 1280, 768 and 375 px', async () => {
  // Every box and result sits inside its frame, below its caption, at every width.
  for (const width of [1280, 768, 375]) {
    await page.setViewport({ width, height: 900 });
    await open('?latitude=38');
    const worst = await page.evaluate(() =>
      Math.max(
        ...[...document.querySelectorAll('.frame')].map((f) => {
          const frame = f.getBoundingClientRect(),
            legend = f.querySelector('legend').getBoundingClientRect();
          return Math.max(
            ...[...f.querySelectorAll('input, output')].map((c) => {
              const r = c.getBoundingClientRect();
              return Math.max(
                r.bottom - frame.bottom,
                legend.bottom - r.top,
                frame.left - r.left,
                r.right - frame.right,
              );
            }),
          );
        }),
      ),
    );
    check(
      worst <= 0,
      `at ${width} px no box or result reaches out of its frame or into its caption (worst ${worst.toFixed(1)} px)`,
    );
    // The answers as large as the boxes, and every chart's texts (the map's too) at least 11 px.
    await page.click('#draw-map');
    await page.waitForSelector('#map svg');
    await drawn();
    const sizes = await page.evaluate(() => {
      const px = (e) => parseFloat(window.getComputedStyle(e).fontSize);
      const chartText = Math.min(
        ...[...document.querySelectorAll('.chart svg')].flatMap((svg) => {
          const scale = svg.getBoundingClientRect().width / svg.viewBox.baseVal.width;
          return [...svg.querySelectorAll('text')].map(
            (t) => Number(t.getAttribute('font-size')) * scale,
          );
        }),
      );
      const answers = Math.min(...[...document.querySelectorAll('#Form1 output')].map(px));
      const inputs = Math.max(...[...document.querySelectorAll('#Form1 input')].map(px));
      return { chartText, answers, inputs, charts: document.querySelectorAll('.chart svg').length };
    });
    check(
      sizes.charts === 3 && sizes.chartText >= 11 && sizes.answers >= sizes.inputs,
      `at ${width} px the answers are ${sizes.answers.toFixed(1)} px against ${sizes.inputs.toFixed(1)} px boxes, ` +
        `the charts' smallest text ${sizes.chartText.toFixed(1)} px (goal: at least 11)`,
    );
  }
});

test("the calculator follows the browser's font size", async () => {
  // The browser's own font size raised to 24 pixels: the charts' texts grow with it.
  const browserFont = await page.createCDPSession();
  await browserFont.send('Page.setFontSizes', { fontSizes: { standard: 24 } });
  await page.setViewport({ width: 1280, height: 900 });
  await open('?latitude=38');
  await page.click('#draw-map');
  const grown = await page.evaluate(() =>
    Math.min(
      ...[...document.querySelectorAll('.chart svg')].flatMap((svg) => {
        const scale = svg.getBoundingClientRect().width / svg.viewBox.baseVal.width;
        return [...svg.querySelectorAll('text')].map(
          (t) => Number(t.getAttribute('font-size')) * scale,
        );
      }),
    ),
  );
  // On a phone too: the values grow with the font, the desk scrolling sideways where the face no
  // longer fits, the page not.
  const valuesOnAPhone = async () => {
    await page.setViewport({ width: 375, height: 800 });
    await open('?latitude=38');
    return page.evaluate(() => [
      parseFloat(window.getComputedStyle(document.getElementById('lblMin')).fontSize),
      document.documentElement.scrollWidth - document.documentElement.clientWidth,
    ]);
  };
  const [phone24, phoneSideways] = await valuesOnAPhone();
  await browserFont.send('Page.setFontSizes', { fontSizes: { standard: 16 } });
  const [phone16] = await valuesOnAPhone();
  check(
    phone24 >= phone16 * 1.4 && phoneSideways <= 0,
    `on a phone the values grow with the font: ${phone16.toFixed(1)} px at 16, ${phone24.toFixed(1)} at 24`,
  );
  check(grown >= 16, `with a 24 pixel font the charts' smallest text is ${grown.toFixed(1)} px`);
  // A larger font in the browser makes the calculator larger, and nothing scrolls sideways.
  const faceAt = async (rootSize) => {
    await page.evaluate((size) => {
      document.documentElement.style.fontSize = size;
    }, rootSize);
    return page.evaluate(() => [
      document.getElementById('Form1').getBoundingClientRect().width,
      document.documentElement.scrollWidth - document.documentElement.clientWidth,
    ]);
  };
  await page.setViewport({ width: 1280, height: 900 });
  await open('?latitude=38');
  const [plain] = await faceAt('16px');
  const [large, sideways] = await faceAt('24px');
  await page.setViewport({ width: 375, height: 800 });
  const [, narrowSideways] = await faceAt('24px');
  check(
    Math.abs(large / plain - 1.5) < 0.02 && sideways <= 0 && narrowSideways <= 0,
    `the calculator follows the browser's font size (${plain.toFixed(0)} px at 16, ${large.toFixed(0)} at 24) and nothing scrolls sideways`,
  );
});

test('a planet from the address and from the picker', async () => {
  // A planet from the address, in any case, and from the picker: its values in the boxes, the
  // press done, and the planet kept in the address until a box is changed by hand.
  await open('?planet=MARS&latitude=70');
  check(
    (await value('txtTilt')) === '25.19' &&
      (await value('txtRP')) === '24.6597' &&
      (await value('txtY')) === '668.6' &&
      (await value('planet')) === 'mars' &&
      (await text('lblMin')) !== '',
    '?planet=MARS fills Mars and presses',
  );
  await page.select('#planet', 'jupiter');
  check(
    (await value('txtTilt')) === '3.13' &&
      new URL(page.url()).searchParams.get('planet') === 'jupiter',
    'the picker fills Jupiter and the address says so',
  );
  await page.focus('#txtTilt');
  await page.keyboard.type('1');
  check((await value('planet')) === '', 'a box changed by hand makes the planet your own');
});

test("Copy All in the window's order", async () => {
  // Copy All lists the results in the window's order.
  await open('?latitude=38');
  const copied = await page.evaluate(async () => {
    let written = '';
    navigator.clipboard.writeText = async (t) => {
      written = t;
    };
    document.getElementById('copy').click();
    for (let i = 0; i < 100 && written === ''; i += 1) await new Promise((r) => setTimeout(r, 20));
    return written;
  });
  check(
    copied
      .split('\n')
      .map((l) => l.split('\t')[0])
      .join(',') === 'Min Day,Max Day,Daylight,Night,Full Daylight,',
    `Copy All in the window's order: ${JSON.stringify(copied.split('\n').map((l) => l.split('\t')[0]))}`,
  );
});

test('the sky chart, and the map when asked for', async () => {
  // The sky's chart follows the press; the map is drawn when asked for.
  await open('?planet=mars&latitude=70');
  const skyTitle = await page.$eval('#sky-chart svg text', (t) => t.textContent);
  const noMap = (await page.$$('#map svg')).length === 0;
  await page.click('#draw-map');
  await page.waitForSelector('#map svg');
  const mapTitle = await page.$eval('#map svg text', (t) => t.textContent);
  check(
    noMap &&
      skyTitle === 'The sky through the year' &&
      mapTitle === 'Daylight at every latitude through the year',
    'the sky chart is shown, and the map when asked for',
  );
  // Each figure is clipped by its own plot: with three figures in one page, an id shared would
  // clip them all by the first one's (Venus's sky and year, for one, have plots of other heights).
  const clips = await page.$$eval('.chart svg', (figures) =>
    figures.map((svg) =>
      [...svg.querySelectorAll('[clip-path]')].every((user) => {
        const id = user.getAttribute('clip-path').slice(5, -1);
        return (
          document.querySelectorAll(`[id="${id}"]`).length === 1 &&
          svg.querySelector(`[id="${id}"]`)
        );
      }),
    ),
  );
  check(
    clips.length === 3 && clips.every(Boolean),
    `each of the ${clips.length} figures is clipped by its own plot`,
  );
});

test('a table that takes long never holds the page up', async () => {
  // A year of a million days makes a sky of a million rows, and Mercury's map follows the sun
  // through every day: seconds of work each, done by the worker while the page answers at once.
  await open('?latitude=60&map=shown');
  // How long an action holds the page: from the action to the next frame.
  const held = (action) =>
    page.evaluate(
      (what) =>
        new Promise((resolve) => {
          const asked = performance.now();
          if (what === 'long year') {
            document.getElementById('txtY').value = '1000000';
            document.getElementById('Command1').click();
          } else {
            const picker = document.getElementById('planet');
            picker.value = what;
            picker.dispatchEvent(new Event('change'));
          }
          requestAnimationFrame(() => resolve(performance.now() - asked));
        }),
      action,
    );
  const waits = [await held('long year')];
  const busy = await page.$eval('#sky-chart', (box) => box.getAttribute('aria-busy'));
  const said = await text('lblDay');
  waits.push(await held('mercury'));
  // The sky of a million days, overtaken, is not waited for: Mercury's comes at once.
  const chosen = performance.now();
  await page.waitForFunction(
    () => document.querySelector('#sky-chart svg')?.textContent.includes('year 0.5'),
    { timeout: 120000 },
  );
  const skyAfter = performance.now() - chosen;
  // Mercury's map, seconds more of work, is still being made (the map's own test sees one come).
  const mapBusy = await page.$eval('#map', (box) => box.getAttribute('aria-busy'));
  const longest = Math.max(...waits);
  check(
    busy === 'true' && mapBusy === 'true' && longest < 1000 && said !== '',
    `with the sky of a million days and Mercury's map in the making, the page answers within ${longest.toFixed(0)} ms (goal: under a second, where the tables take seconds)`,
  );
  check(
    skyAfter < 2500,
    `Mercury's sky ${skyAfter.toFixed(0)} ms after it was chosen, the longer sky it overtook dropped (goal: under 2.5 s)`,
  );
});

test("Mercury's map: a sketch at once, and made again only for a change", async () => {
  // The map of a slow planet: a coarse one shown while the whole is made, and the whole timed;
  // then presses that change nothing, every 300 ms, ask the worker for nothing.
  await open('?planet=mercury&latitude=38');
  await page.evaluate(() => {
    const box = document.getElementById('map');
    window.mapPlaced = [];
    new MutationObserver(() => {
      if (box.querySelector('svg') !== null)
        window.mapPlaced.push({ at: performance.now(), busy: box.getAttribute('aria-busy') });
    }).observe(box, { childList: true });
    window.mapAsked = performance.now();
    document.getElementById('draw-map').click();
  });
  await page.waitForFunction(
    () =>
      document.querySelector('#map svg') !== null &&
      document.getElementById('map').getAttribute('aria-busy') === null,
    { timeout: 60000 },
  );
  const placed = await page.evaluate(() =>
    window.mapPlaced.map(({ at, busy }) => ({ after: at - window.mapAsked, busy })),
  );
  const whole = placed[placed.length - 1];
  check(
    placed.length >= 2 && placed[0].busy === 'true' && whole.busy === null,
    `a sketch of the map is shown while the whole is made: ${JSON.stringify(placed)}`,
  );
  console.log(
    `note Mercury's map: a sketch after ${placed[0].after.toFixed(0)} ms, the whole after ${whole.after.toFixed(0)} ms (goal: under 2000)`,
  );
  const runs = () => page.evaluate(() => Number(document.body.dataset.workerRuns));
  const before = await runs();
  for (let i = 0; i < 5; i += 1) {
    await page.click('#Command1');
    await new Promise((r) => setTimeout(r, 300));
  }
  const later = await runs();
  check(
    later === before &&
      (await page.$eval('#map', (box) => box.getAttribute('aria-busy'))) === null &&
      (await page.$$('#map svg')).length === 1,
    `presses that change nothing ask the worker for nothing (${before} runs, then ${later})`,
  );
});

test('a slider with the map, frame by frame', async () => {
  // The sliders: each frame of a drag within 16 ms, the results, the chart and a coarser map
  // following; at rest, the whole map with the chosen day and latitude marked.
  await open('?latitude=38');
  await page.click('#draw-map');
  await page.focus('#tilt-slider');
  for (let i = 0; i < 40; i += 1) {
    await page.keyboard.press('ArrowRight');
    await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => r())));
  }
  const work = (await page.evaluate(() => document.body.dataset.frameWork ?? ''))
    .split(' ')
    .map(Number)
    .sort((a, b) => a - b);
  const median = work[Math.floor(work.length / 2)],
    worst = work[work.length - 1];
  check(
    work.length >= 20 && median <= 16 && (await value('txtTilt')) === '43.5',
    `a slider's frames with the map: median ${median} ms, worst ${worst} ms over ${work.length} (goal: within 16)`,
  );
  await page.waitForFunction(() => new URL(location.href).searchParams.get('tilt') === '43.5');
  await page.waitForFunction(
    () => document.getElementById('map').getAttribute('aria-busy') === null,
  );
  const mapKey = await page.$eval('#map svg', (s) =>
    [...s.querySelectorAll('text')].map((t) => t.textContent).join('|'),
  );
  check(
    mapKey.includes('the chosen day, 0°') &&
      mapKey.includes('the chosen latitude, 38°') &&
      mapKey.includes('Tilt 43.5°'),
    'at rest the whole map follows, the chosen day and latitude marked',
  );
  // The address says the map is shown, and opening it shows the map again.
  const withMap = await page.evaluate(() => location.search);
  await open(withMap);
  await page.waitForSelector('#map svg');
  check(
    withMap.includes('map=shown') &&
      (await page.$eval('#draw-map', (b) => b.hidden)) &&
      (await page.$$('#map svg')).length === 1,
    `the address keeps the map shown: ${withMap}`,
  );
});

test('a date at a place', async () => {
  // A date on the Earth at a place: its day as daylight-cli sky --date gives it, and its degrees
  // past the winter solstice in Deg from Winter Solstice, which says it comes from the date.
  await open('?latitude=52.52&date=2026-06-21&longitude=13.4&utc-offset=2');
  const dated = JSON.parse(
    execFileSync(
      cli,
      [
        'sky',
        '--latitude=52.52',
        '--longitude=13.4',
        '--utc-offset=2',
        '--date=2026-06-21',
        '--json',
      ],
      { encoding: 'utf8' },
    ),
  ).rows[0];
  const said = await text('sky-day');
  check(
    toTheMinute(following(said, 'sunrise'), dated.sunrise) &&
      toTheMinute(following(said, 'sunset'), dated.sunset) &&
      toTheMinute(following(said, 'daylight'), dated.daylight) &&
      said.includes('on the clock (UTC+02:00)') &&
      said.includes(`${dated.orbit_angle}° past`) &&
      (await value('txtAlpha')) === dated.orbit_angle &&
      (await text('lblDay')) !== '',
    `a date gives its day and its degrees: "${said.slice(0, 70)}..."`,
  );
  // Beside the results, their lengths as people read them, the results' own to the minute.
  const readable = await text('readable');
  check(
    toTheMinute(following(readable, 'Min Day'), await text('lblMin')) &&
      toTheMinute(following(readable, 'Daylight'), await text('lblDay')),
    `beside the results, as people read them: "${readable}"`,
  );
  check(
    (await text('from-date')).includes('comes from the date 2026-06-21') &&
      (await page.$eval('#txtAlpha', (e) => e.getAttribute('aria-describedby'))) === 'from-date',
    'Deg from Winter Solstice says it comes from the date',
  );
  // Typing an angle clears the date, which the next press then leaves alone.
  await page.focus('#txtAlpha');
  await page.keyboard.press('End');
  await page.keyboard.type('5');
  await page.click('#Command1');
  check(
    (await value('date')) === '' &&
      (await page.$eval('#from-date', (e) => e.hidden)) &&
      (await value('txtAlpha')) === `${dated.orbit_angle}5`,
    'typing an angle clears the date',
  );
  // The date's offset written as people write it, hours and minutes.
  await open('?latitude=28.6&date=2026-06-21&longitude=77.2&utc-offset=5:30');
  const delhi = JSON.parse(
    execFileSync(
      cli,
      [
        'sky',
        '--latitude=28.6',
        '--longitude=77.2',
        '--utc-offset=5.5',
        '--date=2026-06-21',
        '--json',
      ],
      { encoding: 'utf8' },
    ),
  ).rows[0];
  check(
    toTheMinute(following(await text('sky-day'), 'sunrise'), delhi.sunrise),
    `an offset of 5:30 is 5.5 hours: sunrise ${delhi.sunrise}`,
  );
  // Dates are the Earth's: with another planet the date is said not to apply.
  await open('?planet=mars&latitude=40&date=2026-06-21&from_solstice=30');
  check(
    (await text('sky-day')).startsWith("Dates are the Earth's") &&
      (await value('txtAlpha')) === '30',
    `another planet takes no date: "${(await text('sky-day')).slice(0, 50)}..."`,
  );
});

test("a zone's clock from the browser: the companion's bytes over whole years", async () => {
  // Each date's offset from the browser's own zone data and its name from tzdata's, the year's
  // table at the place byte for byte the companion's: summer time begun and ended in each, and
  // New York's rules changed between 2006 and 2007.
  for (const [query, zone] of [
    ['?latitude=59.91273&longitude=10.74609&date=2026-06-21', 'Europe/Oslo'],
    ['?latitude=-33.86785&longitude=151.20732&date=2026-06-21', 'Australia/Sydney'],
    ['?latitude=40.71427&longitude=-74.00597&date=2006-06-21', 'America/New_York'],
    ['?latitude=40.71427&longitude=-74.00597&date=2007-06-21', 'America/New_York'],
  ]) {
    await open(`${query}&time-zone=${encodeURIComponent(zone)}`);
    await downloadsMade();
    const args = await page.$eval('#download-list a[download="sky.csv"]', (a) =>
      JSON.parse(a.dataset.args),
    );
    const bytes = await savedBytes('sky.csv');
    const native = execFileSync(cli, args, { encoding: 'utf8' });
    const zones = new Set(native.split('\n').map((line) => line.split(',').at(-1)));
    check(
      args.includes(`--time-zone=${zone}`) && bytes === native && zones.size >= 3,
      `${zone} ${query.slice(-10, -6)}: the page's year is the companion's (${[...zones]
        .filter((z) => z !== '')
        .join(', ')})`,
    );
  }
});

test('the place box suggests as one types, and a place fills the date at the place', async () => {
  await open('?latitude=38');
  await page.focus('#place');
  await page.keyboard.type('S');
  await page.waitForFunction(() => document.getElementById('place-list').children.length > 0);
  // The file is in: the time from a key to its suggestions.
  const took = await page.evaluate(
    () =>
      new Promise((resolve) => {
        const list = document.getElementById('place-list');
        const box = document.getElementById('place');
        const start = performance.now();
        new MutationObserver(() => resolve(performance.now() - start)).observe(list, {
          childList: true,
        });
        box.value = 'Sp';
        box.dispatchEvent(new Event('input'));
      }),
  );
  console.log(`note suggestions ${took.toFixed(1)} ms after a key (goal: under 50)`);
  await page.$eval('#place', (box) => {
    box.value = '';
  });
  await page.keyboard.type('springfield, ill');
  await page.waitForFunction(() =>
    document.getElementById('place-status').textContent.startsWith('1 place'),
  );
  const open_ = await page.$eval('#place', (b) => b.getAttribute('aria-expanded'));
  await page.keyboard.press('ArrowDown');
  const active = await page.$eval('#place', (b) => b.getAttribute('aria-activedescendant'));
  await page.keyboard.press('Enter');
  await drawn();
  const place = JSON.parse(
    execFileSync(cli, ['places', 'Springfield, Illinois', '--json'], { encoding: 'utf8' }),
  ).places[0];
  check(
    open_ === 'true' &&
      active === 'place-0' &&
      (await value('txtLat')) === place.latitude &&
      (await value('longitude')) === place.longitude &&
      (await value('time-zone')) === 'America/Chicago' &&
      (await value('date')) !== '' &&
      (await text('place-status')) === 'Taken: Springfield, Illinois, United States of America' &&
      (await page.evaluate(() => location.search)).includes('place=Springfield'),
    `a place chosen with the keys fills its latitude, longitude and zone: ${place.latitude}`,
  );
  // Escape closes the suggestions; a name typed wrong has the names to try.
  await page.$eval('#place', (box) => {
    box.value = '';
  });
  await page.keyboard.type('Olso');
  await page.waitForFunction(() =>
    document.getElementById('place-status').textContent.includes('try'),
  );
  check(
    (await text('place-status')).startsWith("No place's name begins with Olso: try Oslo"),
    `no match, the nearest names: "${await text('place-status')}"`,
  );
  for (let i = 0; i < 3; i += 1) await page.keyboard.press('Backspace');
  await page.keyboard.type('slo');
  await page.waitForFunction(() => !document.getElementById('place-list').hidden);
  await page.keyboard.press('Escape');
  check(await page.$eval('#place-list', (l) => l.hidden), 'Escape closes the suggestions');
});

test("the month at a place is the companion's, and prints on one A4 page", async () => {
  await open('?date=2026-06-21&place=Oslo');
  await page.waitForFunction(() => !document.getElementById('month').hidden);
  const rows = await page.$$eval('#month-table tbody tr', (trs) =>
    trs.map((tr) => [...tr.cells].map((c) => c.textContent).join(',')),
  );
  const native = execFileSync(cli, ['sky', '--month', '2026-06', '--place', 'Oslo', '--clock'], {
    encoding: 'utf8',
    stdio: ['ignore', 'pipe', 'ignore'],
  })
    .trimEnd()
    .split('\n')
    .slice(1);
  check(
    rows.length === 30 && rows.join('\n') === native.join('\n'),
    `the month table is daylight-cli sky --month's rows: ${rows[20]}`,
  );
  const pdf = Buffer.from(await page.pdf({ format: 'A4', printBackground: false }));
  const pages = (pdf.toString('latin1').match(/\/Type\s*\/Page[^s]/g) || []).length;
  check(pages === 1, `the month printed on ${pages} A4 page(s)`);
  if (screenshot) {
    await page.emulateMediaType('print');
    await page.setViewport({ width: 794, height: 1123 });
    await page.screenshot({ path: screenshot.replace(/\.png$/, '-month.png') });
    await page.emulateMediaType(null);
    await page.setViewport({ width: 1000, height: 1100 });
    await page.$eval('#place', (box) => {
      box.value = '';
    });
    await page.focus('#place');
    await page.keyboard.type('san');
    await page.waitForFunction(() => document.getElementById('place-list').children.length > 0);
    const box = await page.$('.on-a-date');
    await box.screenshot({ path: screenshot.replace(/\.png$/, '-place.png') });
  }
});

test('what is shown is what is downloaded, and what stops says why', async () => {
  // A box typed into without a press changes neither the figures nor the downloads.
  await open('?latitude=38');
  await page.$eval('#txtLat', (e) => {
    e.value = '70';
  });
  await downloadsMade();
  const year = await page.$eval('#download-list a[download="year.json"]', (a) =>
    JSON.parse(a.dataset.args),
  );
  check(
    year.includes('--latitude=38') && !year.some((a) => a.startsWith('--mark')),
    `the downloads are of the values shown: ${year.join(' ')}`,
  );
  // A sky that stops says its reason, without a hint for a value the page has no control for.
  await open('?year=1e9');
  const why = await text('sky-chart');
  check(
    why.includes('the step must be at least a millionth of the year') && !why.includes('Step'),
    `a sky that stops says why: "${why}"`,
  );
  // Values the page cannot take are named in the address's note, with why.
  await open('?date=2026-02-29&planet=vulcan&latitude=50');
  await page.click('#note summary');
  const note = await text('note');
  check(
    note.includes('date (2026-02-29 is not a date from 1000-01-01 to 3000-12-31)') &&
      note.includes('planet (no planet is named vulcan)') &&
      (await value('txtLat')) === '50',
    `a date and a planet left out are named: "${note}"`,
  );
});

test("a long table's memory returns once the values are back", async () => {
  // The sky's download of a year of 999,999 days (a million rows), then the Earth's year again,
  // in the same visit: the worker holds at most twice what it held at the first load. A download
  // is made when it is clicked: opening the list makes none.
  await open('?latitude=38');
  await downloadsMade();
  const workerMemory = async () =>
    Number(await page.evaluate(() => document.body.dataset.workerMemory));
  const made = () =>
    page.$$eval('#download-list a', (links) => links.filter((a) => a.dataset.made).length);
  const madeAtOpening = await made();
  // A year typed and pressed, and its sky's download clicked and made.
  const downloadsOfTheYear = async (year) => {
    await page.$eval(
      '#txtY',
      (e, typed) => {
        e.value = typed;
      },
      year,
    );
    await page.click('#Command1');
    await page.waitForFunction(
      (typed) =>
        document
          .querySelector('#download-list a[download="sky.csv"]')
          .dataset.args.includes(`--year=${typed}`),
      {},
      year,
    );
    await page.click('#download-list a[download="sky.csv"]');
    await page.waitForFunction(
      () => {
        const a = document.querySelector('#download-list a[download="sky.csv"]');
        return a.dataset.made === a.dataset.args;
      },
      { timeout: 120000 },
    );
  };
  const first = await workerMemory();
  await downloadsOfTheYear('999999');
  const grown = Number(await page.evaluate(() => document.body.dataset.workerMemoryMost));
  await downloadsOfTheYear('365.25');
  const back = await workerMemory();
  const mb = (bytes) => `${(bytes / (1 << 20)).toFixed(0)} MB`;
  check(madeAtOpening === 0, 'opening the downloads makes none of them');
  check(
    back <= 2 * first && grown > back,
    `the worker held ${mb(first)} at first, ${mb(grown)} for the long year, ${mb(back)} after`,
  );
});

test('a value the sky cannot use marks its own box', async () => {
  // A UTC offset of 20 and a longitude of 400: each box marked, its reason beside it, and the
  // date's day not made; the sky's chart, whose values are good, still drawn.
  await open('?latitude=52&date=2026-06-21&utc-offset=20&longitude=400');
  const marked = await page.$$eval('.sky-controls input[aria-invalid="true"]', (inputs) =>
    inputs.map(
      (i) => `${i.id}: ${document.getElementById(i.getAttribute('aria-describedby')).textContent}`,
    ),
  );
  check(
    marked.length === 2 &&
      marked[0] === 'longitude: The longitude must be from -180 to 180 degrees.' &&
      marked[1] === 'utc-offset: The UTC offset must be from -14 to 14 hours.' &&
      (await text('sky-day')).startsWith('The sky cannot use a value marked above') &&
      (await page.$$('#sky-chart svg')).length === 1,
    `the values the sky cannot use are marked: ${marked.join('; ')}`,
  );
  await open('?eccentricity=1');
  check(
    (await page.$eval('#eccentricity', (e) => e.getAttribute('aria-invalid'))) === 'true' &&
      (await text('sky-chart')).includes('The sky cannot use a value marked above'),
    'an eccentricity of 1 is marked, and the sky waits for it',
  );
});

test('every box reads as the calculator reads it', async () => {
  // An empty box and one with words: the calculator reads 0 and notes them; the sky, its chart,
  // its day and the downloads read the same, and nothing on the page is a command-line message.
  await open('?latitude=&tilt=x');
  await downloadsMade();
  const args = await page.$$eval('#download-list a', (links) =>
    links.map((a) => JSON.parse(a.dataset.args)),
  );
  const body = await page.evaluate(() => document.body.innerText);
  check(
    !/--[a-z]/.test(body) &&
      (await page.$$('#sky-chart svg')).length === 1 &&
      (await text('sky-day')).startsWith('In the sky, the chosen day') &&
      args.every((a) => a[0] === 'year' || a.includes('--tilt=0')) &&
      (await text('notes')).includes('Latitude "" was read as 0'),
    'an empty box is read as 0 everywhere, and no command-line message is shown',
  );
});

test('the downloads follow a date', async () => {
  // With a date and a place the sky's table is that year at that place, dated, the companion's
  // bytes.
  await open('?latitude=60&date=2026-06-21&longitude=10.75&utc-offset=2');
  await downloadsMade();
  const sky = await page.$eval('#download-list a[download="sky.csv"]', (a) =>
    JSON.parse(a.dataset.args),
  );
  check(
    sky.includes('--from=2026-01-01') &&
      sky.includes('--to=2026-12-31') &&
      sky.includes('--longitude=10.75') &&
      sky.includes('--utc-offset=2') &&
      execFileSync(cli, sky, { encoding: 'utf8' }).split('\n').length === 367,
    `the sky's table is the date's year at the place: ${sky.join(' ')}`,
  );
});

test('the chosen day in the sky', async () => {
  // Without a date, the day at Deg from Winter Solstice in the sky, as daylight-cli sky --day-at
  // gives it.
  await open('?latitude=52&from_solstice=30');
  const chosenDay = JSON.parse(
    execFileSync(cli, ['sky', '--latitude=52', '--day-at=30', '--json'], { encoding: 'utf8' }),
  ).rows[0];
  const skyDay = await text('sky-day');
  check(
    ['sunrise', 'noon', 'sunset', 'civil twilight'].every((w) =>
      toTheMinute(following(skyDay, w), chosenDay[w === 'civil twilight' ? 'civil' : w]),
    ),
    `the chosen day in the sky: "${skyDay.slice(0, 70)}..."`,
  );
  const against = await text('sky-against');
  check(
    against.startsWith(`The sky's daylight is `) &&
      against.includes(`than the calculator's ${await text('lblDay')}:`) &&
      against.includes('as the air lifts the sun and its upper edge shows first'),
    `beside it, how far it is from the calculator's: "${against.slice(0, 90)}..."`,
  );
});

test("the downloads are daylight-cli's bytes", async () => {
  // Each download, clicked, saves what daylight-cli writes for the same command line, byte for
  // byte.
  await open('?planet=mars&latitude=70&horizon=geometric');
  await downloadsMade();
  const offered = await page.$$eval('#download-list a', (links) =>
    links.map((a) => ({ name: a.download, args: JSON.parse(a.dataset.args) })),
  );
  const saved = mkdtempSync(join(tmpdir(), 'daylight-downloads-'));
  const made = mkdtempSync(join(tmpdir(), 'daylight-cli-'));
  const session = await page.createCDPSession();
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: saved });
  for (const a of await page.$$('#download-list a')) await a.click();
  const done = () => readdirSync(saved).filter((f) => !f.endsWith('.crdownload')).length;
  for (let i = 0; i < 300 && done() < offered.length; i += 1) {
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  await session.send('Browser.setDownloadBehavior', { behavior: 'default' });
  const alike = offered.filter((d) => {
    const args = d.args.map((a) => (a === d.name ? join(made, d.name) : a));
    const out = execFileSync(cli, args, { encoding: 'utf8', maxBuffer: 1 << 28 });
    const bytes = readFileSync(join(saved, d.name), 'utf8');
    return bytes === (d.name.endsWith('.svg') ? readFileSync(join(made, d.name), 'utf8') : out);
  });
  rmSync(saved, { recursive: true });
  rmSync(made, { recursive: true });
  check(
    offered.length === 9 &&
      alike.length === 9 &&
      offered.some((d) => d.args.includes('--horizon=geometric')) &&
      offered.some((d) => d.args.includes('--mark-latitude=70')),
    `the nine downloads are daylight-cli's bytes (${alike.map((d) => d.name).join(', ')})`,
  );
});

test("the chart is daylight-cli's at a phone's width", async () => {
  // The chart is the very figure daylight-cli draws for the same values at the same width (a
  // phone's here), byte for byte.
  await page.setViewport({ width: 375, height: 800 });
  await open('?tilt=23.5&latitude=70');
  const pageSvg = await page.$eval('#chart-svg', (a) =>
    decodeURIComponent(a.href.slice(a.href.indexOf(',') + 1)),
  );
  const drawnWidth = await page.$eval('#chart svg', (svg) => svg.getAttribute('width'));
  await page.setViewport({ width: 1000, height: 1100 });
  const chartFolder = mkdtempSync(join(tmpdir(), 'daylight-chart-'));
  execFileSync(cli, [
    'year',
    '--tilt',
    '23.5',
    '--latitude',
    '70',
    '--mark',
    '0',
    `--chart-width=${drawnWidth}`,
    '--chart',
    join(chartFolder, 'year.svg'),
  ]);
  const cliSvg = readFileSync(join(chartFolder, 'year.svg'), 'utf8');
  rmSync(chartFolder, { recursive: true });
  if (pageSvg !== cliSvg) {
    const at = [...pageSvg].findIndex((c, i) => c !== cliSvg[i]);
    console.log(
      `page: ${pageSvg.slice(at - 80, at + 80)}\ncli:  ${cliSvg.slice(at - 80, at + 80)}`,
    );
  }
  check(
    pageSvg === cliSvg && pageSvg.startsWith('<svg') && drawnWidth === '343',
    `the page's year.svg, ${drawnWidth} px wide, is daylight-cli's, byte for byte (${pageSvg.length} bytes)`,
  );
  check(
    await page.$eval('#chart svg', (s) => s.querySelectorAll('text').length > 20),
    'the chart shows its texts',
  );
  await open('?tilt=0&latitude=100');
  const noYear = await text('chart');
  check(
    noYear.startsWith('No year to draw. Latitude 100 lies beyond the pole') &&
      noYear.includes('Try Latitude'),
    `the chart says why there is no year and what to change: "${noYear.slice(0, 50)}..."`,
  );
});

test('a value not read whole gets its note', async () => {
  // A value not read whole is noted beside the calculator and tied to its box; the lenient
  // reading stays.
  await open('?latitude=38S&tilt=23.5');
  check(
    (await text('notes')) === 'Latitude "38S" was read as 38.' &&
      (await text('lblMin')) === '9.35208417825225' &&
      (await page.$eval('#txtLat', (e) => e.getAttribute('aria-describedby') === 'note-latitude')),
    'a value not read whole gets its note',
  );
  await open('?latitude=-80S');
  check(
    await page.$eval(
      '#txtLat',
      (e) => e.getAttribute('aria-describedby') === 'note-latitude report',
    ),
    'a box with a note and a report is described by both',
  );
  check(
    await page.$eval('#lblMin', (e) =>
      e.title.startsWith('The day at the northern winter solstice'),
    ),
    'Min Day says it is the day at the northern winter solstice',
  );
});

test('hostile parameter names make one short note', async () => {
  // Hostile parameter names: one short line, nothing unprintable, the rest counted.
  const many = Array.from({ length: 2000 }, (_, i) => `k${i}=1`).join('&');
  await open(
    `?${'x'.repeat(100000)}=1&${encodeURIComponent('Your session expired. Call us now')}=1&` +
      `${encodeURIComponent('a\u202eb\nc')}=1&${many}`,
  );
  const hostile = await text('note');
  const noteHeight = await page.$eval('#note', (e) => e.getBoundingClientRect().height);
  check(noteHeight < 48, `closed, the note is one line (${noteHeight.toFixed(0)} px high)`);
  check(
    hostile.length < 300 &&
      hostile.includes('and 2,000 more') &&
      !/[\u202e\n]/.test(hostile) &&
      hostile.includes('“Your session expired. Ca…”'),
    `hostile parameter names make one short note (${hostile.length} characters): "${hostile}"`,
  );
  check(
    (await page.$eval('#txtLat', (e) => e.maxLength)) === 32767,
    'a box takes at most 32,767 characters',
  );
});

test('an address value with a control character is left out', async () => {
  // Control characters in an address value are left out, and said so.
  await open(`?latitude=${encodeURIComponent('3\n8')}`);
  check(
    (await value('txtLat')) === '38' &&
      (await text('note')).includes('latitude (control characters)'),
    'an address value with a control character is left out',
  );
  // A value of 1,000 characters is taken, one of 1,001 left out as too long.
  const longest = `38${' '.repeat(998)}`;
  await open(`?latitude=${encodeURIComponent(longest)}&tilt=${encodeURIComponent(`${longest} `)}`);
  check(
    (await value('txtLat')) === longest &&
      (await value('txtTilt')) === '23.5' &&
      (await text('note')).includes('tilt (too long)') &&
      !(await text('note')).includes('latitude'),
    'an address value of 1,000 characters is taken, and one of 1,001 left out',
  );
});

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
  firstResult = await page.evaluate(() => Number(document.body.dataset.firstResultMs));
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
    `note time from load to the first result: ${firstResult.toFixed(1)} ms (goal: under 200)`,
  );
});
