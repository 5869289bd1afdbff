// The month at a place, the downloads against daylight-cli's bytes, a long table's memory, the
// sky's own values, the chosen day, the chart at a phone's width, and the address's notes.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test } from 'node:test';
import {
  cli,
  screenshot,
  check,
  page,
  open,
  downloadsMade,
  toTheMinute,
  following,
  text,
  value,
} from './browser.mjs';

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
      // The year reads its own boxes; the Earth's million years take none.
      args.every(
        (a) => a[0] === 'year' || a.includes('--from-kyr=-1000') || a.includes('--tilt=0'),
      ) &&
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
    offered.length === 18 &&
      alike.length === 18 &&
      offered.some((d) => d.args.includes('--horizon=geometric')) &&
      offered.some((d) => d.args.includes('--mark-latitude=70')) &&
      offered.some((d) => d.name === 'sun.svg' && d.args[0] === 'sun') &&
      offered.some(
        (d) => d.name === 'sunlight.csv' && d.args.join(' ').includes('--planet mars'),
      ) &&
      offered.some((d) => d.name === 'history.json' && d.args.includes('--from-kyr=-1000')),
    `the eighteen downloads are daylight-cli's bytes (${alike.map((d) => d.name).join(', ')})`,
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
