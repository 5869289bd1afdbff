// The page around the core: it builds the calculator's face from the core's own table, sends the
// boxes' texts to the core on each press and shows the texts it gets back; the sky, the map, a
// date, the sliders and the downloads around it. No number is worked out here: every number and
// every figure comes from the core, the companion's own code in WebAssembly.
import { buildFace, em } from './face.js';
import { readAddress } from './address.js';
import { chartWidth, drawChart, placeFigure } from './figures.js';
import { makeDownloads } from './downloads.js';

const loaded = performance.now();
const $ = (id) => document.getElementById(id);
// The sky's own values, each a control of that id and an option of daylight-cli sky.
const kSkyControls = ['eccentricity', 'perihelion', 'horizon'];
// The Earth on a date at a place, also carried by the address.
const kDateControls = ['date', 'longitude', 'utc-offset'];
const kSkyDefaults = { eccentricity: '0', perihelion: '0', horizon: 'sunrise' };

function start(core) {
  const { boxes, results, face } = buildFace(core.face());
  const button = $('Command1');
  const report = $('report');
  const notes = $('notes');
  const copy = $('copy');
  const link = $('link');
  const announce = $('announce');
  const picker = $('planet');
  let firstResult = null;
  // The width the figures are drawn at, which only a window of another width changes.
  let width = chartWidth($('chart'));
  const fillDownloads = makeDownloads(core, () => commandsNow());

  const texts = () => Object.fromEntries(boxes.map((b) => [b.field, b.element.value]));

  function clearReport() {
    report.hidden = true;
    report.textContent = '';
    notes.hidden = true;
    notes.textContent = '';
    for (const b of boxes) {
      b.element.removeAttribute('aria-invalid');
      b.element.removeAttribute('aria-describedby');
      b.element.parentElement.classList.remove('named', 'noted');
    }
  }

  // The notes on values not read whole: one line each, tied to its box.
  function showNotes(list) {
    for (const n of list) {
      const b = boxes.find((box) => box.field === n.field);
      const line = document.createElement('p');
      line.id = `note-${n.field}`;
      line.textContent = `${n.text}.`;
      notes.append(line);
      if (b) {
        b.element.setAttribute('aria-describedby', line.id);
        b.element.parentElement.classList.add('noted');
      }
    }
    notes.hidden = list.length === 0;
  }

  // Puts the values a hint offers into their boxes and presses again.
  function useTries(tries) {
    for (const [field, text] of Object.entries(tries)) {
      const b = boxes.find((box) => box.field === field);
      if (b) b.element.value = text;
    }
    press();
  }

  // The report stands beside the first box it names; every box it names is marked.
  function showStop(stop) {
    const named = stop.boxes.map((field) => boxes.find((b) => b.field === field)).filter(Boolean);
    const title = document.createElement('strong');
    title.textContent = `${stop.message}.`;
    const text = document.createElement('p');
    const words = [stop.cause, stop.hint, stop.year].filter((w) => w !== '').join(' ');
    text.textContent = words;
    report.replaceChildren(title, text);
    if (Object.keys(stop.tries).length > 0) {
      const use = document.createElement('button');
      use.type = 'button';
      use.id = 'use-tries';
      use.textContent = 'Use these values';
      use.addEventListener('click', () => useTries(stop.tries));
      report.append(use);
    }
    for (const b of named) {
      b.element.setAttribute('aria-invalid', 'true');
      // A box with a note keeps it, and the report follows.
      const described = b.element.getAttribute('aria-describedby');
      b.element.setAttribute('aria-describedby', described ? `${described} report` : 'report');
      b.element.parentElement.classList.add('named');
    }
    const first = named[0];
    const top = first ? face.controls.find((c) => c.name === first.element.parentElement.id).top : 0;
    report.style.setProperty('--report-top', em(top));
    report.hidden = false;  // an alert, which says it
    if (first) first.element.focus();
  }

  // One size for the answers of a press and the boxes alike: the largest up to the usual at
  // which each answer fits whole.
  function fitValues() {
    const form = $('Form1');
    const fits = () => results.every((r) => r.element.scrollWidth <= r.element.clientWidth);
    let size = 0.8;
    form.style.removeProperty('--value-size');
    while (!fits() && size > 0.45) {
      size -= 0.05;
      form.style.setProperty('--value-size', `${size.toFixed(2)}em`);
    }
  }

  // A press: the date's degrees first, where a date is given; the results, said once by the live
  // region (a stop is said by the report, an alert); then the address, the figures and the sky.
  function press() {
    for (const r of results) r.element.textContent = '';  // emptied at each press
    announce.textContent = '';
    clearReport();
    const dated = datedDay();
    if (dated?.row) boxes.find((b) => b.field === 'from_solstice').element.value = dated.row.orbit_angle;
    const values = texts();
    const answer = core.compute(values);
    showNotes(answer.notes);
    if (answer.stop) {
      showStop(answer.stop);
      copy.disabled = true;
    } else {
      for (const r of results) r.element.textContent = answer.results[r.element.id];
      fitValues();
      copy.disabled = false;
      announce.textContent = results.filter((r) => r.element.textContent !== '')
        .map((r) => `${r.caption}: ${r.element.textContent}`).join(', ');
      if (firstResult === null) {
        firstResult = performance.now() - loaded;
        document.body.dataset.firstResultMs = firstResult.toFixed(1);
      }
    }
    const sky = Object.fromEntries(kSkyControls.map((id) => [id, $(id).value])
      .filter(([id, v]) => v !== kSkyDefaults[id] || picker.value));
    const date = Object.fromEntries(kDateControls.map((id) => [id, $(id).value])
      .filter(([, v]) => $('date').value !== '' && v !== ''));
    const address = new URLSearchParams({ ...(picker.value ? { planet: picker.value } : {}), ...values, ...sky, ...date });
    history.replaceState(null, '', `?${address}`);
    link.href = location.href;
    drawChart(core, values, width);
    placeSliders();
    showSky();
    showSkyDay(dated);
    fillDownloads();
  }

  // The command lines of daylight-cli for the year, the sky and the map of the values now, their
  // charts marking the chosen day (and on the map the latitude) where the boxes give them.
  function commandsNow() {
    const planet = picker.value ? ['--planet', picker.value] : [];
    const valuesOf = (skip) => boxes.filter((b) => b.field !== 'from_solstice' && b.field !== skip)
      .map((b) => `${b.option}=${b.element.value}`);
    const sky = kSkyControls.map((id) => `--${id}=${$(id).value}`);
    const chosen = core.chosen(texts());
    const day = chosen.day === '' ? [] : [`--mark=${chosen.day}`];
    const latitude = chosen.latitude === '' ? [] : [`--mark-latitude=${chosen.latitude}`];
    return {
      year: ['year', ...planet, ...valuesOf(), ...day],
      sky: ['sky', ...planet, ...valuesOf(), ...sky, ...day],
      map: ['sky', '--map', ...planet, ...valuesOf('latitude'), ...sky, ...day, ...latitude],
    };
  }

  // A chart the companion draws, in its place, or what it said instead.
  function showFigure(box, args, label) {
    const run = core.run([...args, `--chart-width=${width}`, '--chart', 'chart.svg']);
    if (run.status !== 0 || run.svg === '') {
      const why = document.createElement('p');
      why.className = 'no-year';
      why.textContent = run.err.replace(/^daylight-cli: /gm, '').trim();
      box.replaceChildren(why);
      return;
    }
    placeFigure(box, run.svg, label);
  }

  // The sky's chart follows every press; the map, slower to make, once it is asked for. While a
  // slider moves, the map is drawn coarser (every 10 degrees, 36 steps a year) by a worker, and
  // each answer that is still the latest asked for is placed in the next frame.
  let mapShown = false;
  let mapAsked = 0;  // the number of the latest map asked for; a whole map counts too
  const kMapLabel = 'Daylight at every latitude through the year';
  function showSky() {
    showFigure($('sky-chart'), commandsNow().sky, 'The sky through the year: daylight, the three twilights and the night');
    if (!mapShown) return;
    mapAsked += 1;
    showFigure($('map'), commandsNow().map, kMapLabel);
  }
  const mapWorker = new Worker('map-worker.js', { type: 'module' });
  mapWorker.addEventListener('message', (event) => {
    const { id, svg } = event.data;
    if (id === mapAsked && svg !== '') follow('map', () => placeFigure($('map'), svg, kMapLabel));
  });
  const showCoarseMap = () => {
    if (!mapShown) return;
    mapAsked += 1;
    mapWorker.postMessage({ id: mapAsked, args: [...commandsNow().map, '--latitude-step=10', '--rows=36',
      `--chart-width=${width}`, '--chart', 'chart.svg'] });
  };
  $('draw-map').addEventListener('click', () => {
    mapShown = true;
    $('draw-map').hidden = true;
    showSky();
  });
  for (const id of kSkyControls) {
    $(id).addEventListener('change', () => {
      showSky();
      showSkyDay();
    });
  }

  // The Earth on the date given, at the place: its row as daylight-cli sky --date gives it, or
  // why there is none; null where no date is given.
  function datedDay() {
    if ($('date').value === '') return null;
    const latitude = boxes.find((b) => b.field === 'latitude').element.value;
    return rowOf(core.run(['sky', `--latitude=${latitude}`, `--longitude=${$('longitude').value}`,
      `--utc-offset=${$('utc-offset').value}`, `--date=${$('date').value}`, '--json']));
  }
  // The first row of a run that printed JSON, {row}, or what it said instead, {why}.
  function rowOf(run) {
    return run.status === 0 ? { row: JSON.parse(run.out).rows[0] }
      : { why: run.err.replace(/^daylight-cli: /gm, '').trim() };
  }

  // The chosen day in the sky: the date's (see datedDay), whose degrees went into Deg from Winter
  // Solstice; or without a date the day at Deg from Winter Solstice, as daylight-cli sky --day-at
  // gives it.
  function showSkyDay(dated = datedDay()) {
    const line = $('sky-day');
    const chosen = core.chosen(texts()).day;
    const day = dated ?? (chosen === '' ? null : rowOf(core.run([...commandsNow().sky, `--day-at=${chosen}`, '--json'])));
    if (day === null || day.why !== undefined) {
      line.textContent = day?.why ?? '';
      return;
    }
    const { row } = day;
    const lengths = `daylight ${row.daylight}, civil twilight ${row.civil}, nautical ${row.nautical}, `
      + `astronomical ${row.astronomical}`;
    const clock = dated ? 'on the clock' : 'of local mean solar time';
    const times = row.sun === 'rises'
      ? `sunrise ${row.sunrise}, noon ${row.noon}, sunset ${row.sunset} ${clock}`
      : `no sunrise or sunset (${row.sun}), noon ${row.noon} ${clock}`;
    line.textContent = dated
      ? `${row.date} is ${row.orbit_angle}° past the winter solstice: ${lengths} hours; ${times}.`
      : `In the sky, the chosen day (${row.orbit_angle}° past the winter solstice): ${lengths}, `
        + `in the unit of the solar day; ${times}.`;
  }
  for (const id of kDateControls) $(id).addEventListener('change', press);

  // Sliders for the tilt, the latitude and the eccentricity. While one moves, each animation
  // frame shows the results and the chart it touches (the year's, or the sky's), and the coarse
  // map last drawn; where it is let go, the whole press follows. Each frame does the latest
  // update of each kind asked for since the one before. Its work is kept for the browser test.
  const frameWork = [];
  const pending = new Map();
  let settling = null;
  function follow(kind, update) {
    if (pending.size === 0) {
      requestAnimationFrame(() => {
        const started = performance.now();
        for (const each of pending.values()) each();
        pending.clear();
        frameWork.push(performance.now() - started);
        document.body.dataset.frameWork = frameWork.slice(-120).map((t) => t.toFixed(1)).join(' ');
      });
    }
    pending.set(kind, update);
  }
  const sliders = [
    { slider: $('tilt-slider'), box: () => boxes.find((b) => b.field === 'tilt').element },
    { slider: $('latitude-slider'), box: () => boxes.find((b) => b.field === 'latitude').element },
    { slider: $('eccentricity-slider'), box: () => $('eccentricity'), sky: true },
  ];
  for (const { slider, box, sky } of sliders) {
    slider.addEventListener('input', () => {
      box().value = slider.value;
      keepPlanet();
      follow('slider', sky ? () => {
        showFigure($('sky-chart'), commandsNow().sky, 'The sky through the year');
        showCoarseMap();
      } : () => {
        const answer = core.compute(texts());
        for (const r of results) r.element.textContent = answer.stop ? '' : answer.results[r.element.id];
        drawChart(core, texts(), width);
        showCoarseMap();
      });
    });
    // Let go (or an arrow key's step), the whole press follows once the slider rests.
    slider.addEventListener('change', () => {
      clearTimeout(settling);
      settling = setTimeout(press, 250);
    });
  }
  // The sliders stand where the boxes' numbers put them, as far as they reach.
  function placeSliders() {
    for (const { slider, box } of sliders) {
      const at = Number(box().value);
      if (box().value.trim() !== '' && Number.isFinite(at)) slider.value = String(at);
    }
  }

  // A window made narrower or wider has its figures drawn again at its width.
  window.addEventListener('resize', () => {
    if (chartWidth($('chart')) === width) return;
    width = chartWidth($('chart'));
    follow('resize', () => {
      drawChart(core, texts(), width);
      showSky();
    });
  });

  copy.addEventListener('click', async () => {
    const lines = results.map((r) => `${r.caption}\t${r.element.textContent}`).join('\n');
    try {
      await navigator.clipboard.writeText(`${lines}\n`);
      copy.textContent = 'Copied';
    } catch {
      copy.textContent = 'Select the values to copy them';
    }
    setTimeout(() => { copy.textContent = 'Copy all results'; }, 2000);
  });
  button.addEventListener('click', press);
  button.disabled = false;
  link.href = location.href;

  // The planets: choosing one fills its boxes and presses; changing one of them by hand makes
  // the planet your own again.
  const planets = core.planets();
  for (const p of planets) {
    const option = document.createElement('option');
    option.value = p.name;
    option.textContent = p.name[0].toUpperCase() + p.name.slice(1);
    picker.append(option);
  }
  const fill = (name) => {
    const planet = planets.find((p) => p.name === name.toLowerCase());
    picker.value = planet ? planet.name : '';
    if (!planet) return;
    for (const b of boxes) if (b.field in planet.texts) b.element.value = planet.texts[b.field];
    $('eccentricity').value = planet.eccentricity;
    $('perihelion').value = planet.perihelion;
  };
  // The planet stays chosen while its boxes hold its texts.
  function keepPlanet() {
    const planet = planets.find((p) => p.name === picker.value);
    if (planet && boxes.some((b) => b.field in planet.texts && b.element.value !== planet.texts[b.field])) {
      picker.value = '';
    }
  }
  picker.addEventListener('change', () => { fill(picker.value); press(); });
  for (const b of boxes) b.element.addEventListener('input', keepPlanet);

  const given = readAddress([...boxes.map((b) => b.field), 'planet', ...kSkyControls, ...kDateControls]);
  if (given.has('planet')) fill(given.get('planet'));
  for (const b of boxes) if (given.has(b.field)) b.element.value = given.get(b.field);
  for (const id of [...kSkyControls, ...kDateControls]) if (given.has(id)) $(id).value = given.get(id);
  keepPlanet();
  for (const id of kSkyControls) $(id).addEventListener('change', fillDownloads);
  if (given.size > 0) {
    press();
  } else {
    drawChart(core, texts(), width);
    showSky();
    showSkyDay();
    boxes[0].element.focus();
    boxes[0].element.select();  // typing replaces the starting text, as in the window
  }
}


function failed(reason) {
  const note = $('note');
  note.textContent = `The calculator could not start: ${reason}`;
  note.hidden = false;
}

// Installed, the page works with no network: a service worker keeps a copy of the site.
if ('serviceWorker' in navigator && location.protocol !== 'file:') {
  navigator.serviceWorker.register('sw.js').catch(() => {});
}

import('./daylight.js')
  .then((module) => module.default())
  .then(start, (error) => failed(String(error.message ?? error)));
