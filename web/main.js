// The page around the core: it builds the calculator's face from the core's own table, sends the
// boxes' texts to the core on each press and shows the texts it gets back, with its report
// (report.js); the sky and the map (sky.js), the sliders, the planets, the address and the
// downloads around it. No number is worked out here: every number and every figure comes from
// the core, the companion's own code in WebAssembly; what may take long, from its copy in a worker.
import { buildFace } from './face.js';
import { makeClock } from './clock.js';
import { makePlaceBox } from './places.js';
import { showMonth } from './month.js';
import { readAddress, showLeftOut } from './address.js';
import { chartWidth, drawChart } from './figures.js';
import { makeDownloads } from './downloads.js';
import { makeFollow } from './frames.js';
import { makeReport } from './report.js';
import { makeRuns } from './runs.js';
import { kDateControls, kSkyControls, kSkyDefaults, makeSky } from './sky.js';

const loaded = performance.now();
const $ = (id) => document.getElementById(id);

function start(core) {
  const { boxes, boxOf, results, face } = buildFace(core.face());
  const button = $('Command1');
  const copy = $('copy');
  const link = $('link');
  const announce = $('announce');
  const picker = $('planet');
  let firstResult = null;
  // The width the figures are drawn at, which only a window of another width changes.
  let width = chartWidth($('chart'));
  // The runs that may take long (the sky's chart, the map, the downloads) go to a worker.
  const ask = makeRuns();
  // The downloads are of what is shown: the values of the last press (or of the sky's values
  // last changed), not of a box typed into since.
  let shown = null;
  const fillDownloads = makeDownloads(ask, () => shown ?? commandsNow());

  const texts = () => Object.fromEntries(boxes.map((b) => [b.field, b.element.value]));
  const follow = makeFollow();
  // Puts the values a hint offers into their boxes and presses again.
  const report = makeReport(boxes, boxOf, face, (tries) => {
    for (const [field, text] of Object.entries(tries)) {
      const b = boxOf(field);
      if (b) b.element.value = text;
    }
    press();
  });
  // The dates' clock, and the place box, which fills the latitude, the longitude and the clock
  // (and today's date where none is given) and presses.
  const clock = makeClock(core);
  const placeBox = makePlaceBox(core, (place) => {
    boxOf('latitude').element.value = place.latitude;
    $('longitude').value = place.longitude;
    clock.choose(place.timeZone);
    if ($('date').value === '') {
      const today = new Date();
      $('date').value = [today.getFullYear(), today.getMonth() + 1, today.getDate()]
        .map((n, i) => String(n).padStart(i === 0 ? 4 : 2, '0'))
        .join('-');
    }
    keepPlanet();
    press();
  });
  const theSky = makeSky({
    core,
    ask,
    texts,
    commandsNow,
    width: () => width,
    follow,
    planet: () => picker.value,
  });

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

  // A press: the date's degrees first, where a date is given (the box then says so, until an
  // angle typed into it clears the date); the results, said once by the live region (a stop is
  // said by the report, an alert); then the address, the figures and the sky.
  function press() {
    // A zone's offsets are named once their names are in (a small file, fetched once).
    if ($('date').value !== '' && !clock.ready()) {
      clock.load().then(press);
      return;
    }
    for (const r of results) r.element.textContent = ''; // emptied at each press
    $('readable').hidden = true;
    announce.textContent = '';
    report.clear();
    const dated = theSky.datedDay();
    if (dated?.row) boxOf('from_solstice').element.value = dated.row.orbit_angle;
    const values = texts();
    const answer = core.compute(values);
    report.showNotes(answer.notes);
    showFromDate(dated?.row ? dated.row.date : '');
    if (answer.stop) {
      report.showStop(answer.stop);
      copy.disabled = true;
    } else {
      for (const r of results) r.element.textContent = answer.results[r.element.id];
      showReadable();
      fitValues();
      copy.disabled = false;
      announce.textContent = results
        .filter((r) => r.element.textContent !== '')
        .map((r) => `${r.caption}: ${r.element.textContent}`)
        .join(', ');
      if (firstResult === null) {
        firstResult = performance.now() - loaded;
        document.body.dataset.firstResultMs = firstResult.toFixed(1);
      }
    }
    writeAddress();
    drawChart(core, values, width);
    placeSliders();
    theSky.showSky();
    theSky.showSkyDay(dated);
    showTheMonth(dated);
    shown = commandsNow();
    fillDownloads();
  }

  // The month of the date at the place, where a date gives the day.
  function showTheMonth(dated) {
    if (!dated?.row) {
      showMonth(null, '');
      return;
    }
    const read = core.read(texts());
    const month = $('date').value.slice(0, 7);
    const run = core.run([...commandsNow().dated, `--month=${month}`, '--clock']);
    const place = placeBox.name() === '' ? '' : `${placeBox.name()}: `;
    const zone = clock.zone() === '' ? `${$('utc-offset').value} hours ahead of UTC` : clock.zone();
    showMonth(
      run,
      `${place}latitude ${read.latitude}°, longitude ${$('longitude').value}°, ` +
        `clock ${zone}; ${month}.`,
    );
  }
  $('print-month').addEventListener('click', () => window.print());

  // Beside the results, on a day of 24 hours, the day's lengths as people read them (9 h 21 min),
  // the core's; the results keep their own texts.
  function showReadable() {
    const line = $('readable');
    const lengths = results.filter((r) => r.element.id !== 'lblFull' && r.element.textContent);
    line.hidden = core.read(texts()).solar_day !== '24' || lengths.length === 0;
    line.textContent = line.hidden
      ? ''
      : lengths.map((r) => `${r.caption} ${core.lengthText(r.element.textContent)}`).join(' · ');
  }

  // While a date gives Deg from Winter Solstice the box says so; typing an angle clears the date.
  const alpha = boxOf('from_solstice').element;
  function showFromDate(date) {
    const line = $('from-date');
    line.hidden = date === '';
    line.textContent =
      date === ''
        ? ''
        : `Deg from Winter Solstice comes from the date ${date}; typing an angle clears the date.`;
    const described = (alpha.getAttribute('aria-describedby') ?? '')
      .split(' ')
      .filter((id) => id !== '' && id !== 'from-date');
    if (date !== '') described.push('from-date');
    if (described.length > 0) alpha.setAttribute('aria-describedby', described.join(' '));
    else alpha.removeAttribute('aria-describedby');
  }
  alpha.addEventListener('input', () => {
    if ($('date').value === '') return;
    $('date').value = '';
    showFromDate('');
  });

  // The address: the values now, so that opening it restores the page.
  function writeAddress() {
    const values = texts();
    const sky = Object.fromEntries(
      kSkyControls
        .map((id) => [id, $(id).value])
        .filter(([id, v]) => v !== kSkyDefaults[id] || picker.value),
    );
    // With a date, the place and its clock: a zone's name, or a fixed offset.
    const date = Object.fromEntries(
      kDateControls
        .map((id) => [id, $(id).value])
        .filter(([, v]) => $('date').value !== '' && v !== '')
        .filter(([id]) => id !== (clock.zone() === '' ? 'time-zone' : 'utc-offset')),
    );
    if ($('date').value !== '') date['time-zone'] = clock.zone();
    const address = new URLSearchParams({
      ...(picker.value ? { planet: picker.value } : {}),
      ...values,
      ...sky,
      ...date,
      ...(theSky.mapShown() ? { map: 'shown' } : {}),
    });
    history.replaceState(null, '', `?${address}`);
    link.href = location.href;
  }
  $('draw-map').addEventListener('click', writeAddress);

  // The command lines of daylight-cli for the year, the sky and the map of the values now, each
  // box as the calculator reads it, their charts marking the chosen day (and on the map the
  // latitude) where the boxes give them; the Earth at the place for a date, and its whole year
  // where a date is given.
  function commandsNow() {
    const planet = picker.value ? ['--planet', picker.value] : [];
    const read = core.read(texts());
    const valuesOf = (skip) =>
      boxes
        .filter((b) => b.field !== 'from_solstice' && b.field !== skip)
        .map((b) => `${b.option}=${read[b.field]}`);
    const sky = kSkyControls.map((id) => `--${id}=${$(id).value}`);
    const chosen = core.chosen(texts());
    const day = chosen.day === '' ? [] : [`--mark=${chosen.day}`];
    const latitude = chosen.latitude === '' ? [] : [`--mark-latitude=${chosen.latitude}`];
    const dated = [
      'sky',
      `--latitude=${read.latitude}`,
      `--longitude=${$('longitude').value}`,
      ...clock.args(),
    ];
    const year = $('date').value.slice(0, 4);
    const onTheDate = $('date').value !== '' && (!picker.value || picker.value === 'earth');
    return {
      year: ['year', ...planet, ...valuesOf(), ...day],
      sky: ['sky', ...planet, ...valuesOf(), ...sky, ...day],
      map: ['sky', '--map', ...planet, ...valuesOf('latitude'), ...sky, ...day, ...latitude],
      dated,
      skyTable: onTheDate
        ? [...dated, `--from=${year}-01-01`, `--to=${year}-12-31`]
        : ['sky', ...planet, ...valuesOf(), ...sky, ...day],
    };
  }

  // Sliders for the tilt, the latitude and the eccentricity. While one moves, each animation
  // frame shows the results and the chart it touches (the year's, or the sky's), and the coarse
  // map last drawn; where it is let go, the whole press follows. Each frame does the latest
  // update of each kind asked for since the one before. Its work is kept for the browser test.
  let settling = null;
  const sliders = [
    { slider: $('tilt-slider'), box: () => boxOf('tilt').element, unit: ' degrees' },
    { slider: $('latitude-slider'), box: () => boxOf('latitude').element, unit: ' degrees' },
    { slider: $('eccentricity-slider'), box: () => $('eccentricity'), sky: true, unit: '' },
  ];
  // A slider says its value with its unit ("23.5 degrees").
  const sayValue = ({ slider, unit }) =>
    slider.setAttribute('aria-valuetext', `${slider.value}${unit}`);
  for (const { slider, box, sky, unit } of sliders) {
    sayValue({ slider, unit });
    slider.addEventListener('input', () => {
      sayValue({ slider, unit });
      box().value = slider.value;
      keepPlanet();
      follow(
        'slider',
        sky
          ? () => {
              theSky.showSkyChart();
              theSky.showCoarseMap();
            }
          : () => {
              const answer = core.compute(texts());
              for (const r of results)
                r.element.textContent = answer.stop ? '' : answer.results[r.element.id];
              drawChart(core, texts(), width);
              theSky.showCoarseMap();
            },
      );
    });
    // Let go (or an arrow key's step), the whole press follows once the slider rests.
    slider.addEventListener('change', () => {
      clearTimeout(settling);
      settling = setTimeout(press, 250);
    });
  }
  // The sliders stand where the boxes' numbers put them, as far as they reach.
  function placeSliders() {
    for (const s of sliders) {
      const at = Number(s.box().value);
      if (s.box().value.trim() !== '' && Number.isFinite(at)) s.slider.value = String(at);
      sayValue(s);
    }
  }

  // A window made narrower or wider has its figures drawn again at its width.
  window.addEventListener('resize', () => {
    const now = chartWidth($('chart'));
    if (now === width) return;
    width = now;
    follow('resize', () => {
      drawChart(core, texts(), width);
      theSky.showSky();
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
    setTimeout(() => {
      copy.textContent = 'Copy all results';
    }, 2000);
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
    if (
      planet &&
      boxes.some((b) => b.field in planet.texts && b.element.value !== planet.texts[b.field])
    ) {
      picker.value = '';
    }
  }
  picker.addEventListener('change', () => {
    fill(picker.value);
    press();
  });
  for (const b of boxes) b.element.addEventListener('input', keepPlanet);

  const { taken: given, ignored } = readAddress([
    ...boxes.map((b) => b.field),
    'planet',
    ...kSkyControls,
    ...kDateControls,
    'map',
  ]);
  if (given.has('planet')) fill(given.get('planet'));
  if (given.get('map') === 'shown') theSky.showMap();
  for (const b of boxes) if (given.has(b.field)) b.element.value = given.get(b.field);
  for (const id of [...kSkyControls, ...kDateControls])
    if (given.has(id) && id !== 'time-zone' && id !== 'place') $(id).value = given.get(id);
  // A planet or a date the page cannot take is named in the note too, with why.
  if (given.has('planet') && !picker.value) {
    ignored.push(`planet (no planet is named ${given.get('planet').slice(0, 24)})`);
  }
  if (given.has('date') && ($('date').value === '' || !$('date').validity.valid)) {
    ignored.push(
      `date (${given.get('date').slice(0, 24)} is not a date from 1000-01-01 to 3000-12-31)`,
    );
    $('date').value = '';
  }
  showLeftOut(ignored);
  // A link's clock: its zone, or (a link from before zones) its fixed offset.
  if (given.has('time-zone')) clock.choose(given.get('time-zone'));
  else if (given.has('utc-offset')) clock.choose('');
  keepPlanet();
  for (const id of kSkyControls) {
    $(id).addEventListener('change', () => {
      shown = commandsNow();
      fillDownloads();
    });
  }
  for (const id of kDateControls) if (id !== 'place') $(id).addEventListener('change', press);
  if (given.has('place')) {
    // The place named is looked up, and taken (which presses); where it is not found, the
    // values as given.
    placeBox.takeNamed(given.get('place')).then((taken) => taken || press());
  } else if (given.size > 0) {
    press();
  } else {
    drawChart(core, texts(), width);
    theSky.showSky();
    theSky.showSkyDay();
    boxes[0].element.focus();
    boxes[0].element.select(); // typing replaces the starting text, as in the window
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
