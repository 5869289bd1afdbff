// The calculator in the page: the golden file through its boxes, faults and hints, sizes at three
// widths and at the browser's font size, planets, and Copy All.
import { readFileSync } from 'node:fs';
import { test } from 'node:test';
import {
  goldenFile,
  labels,
  boxOfField,
  check,
  page,
  drawn,
  open,
  text,
  value,
  results,
} from './browser.mjs';

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
      sizes.charts === 6 && sizes.chartText >= 11 && sizes.answers >= sizes.inputs,
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
