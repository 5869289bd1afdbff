// The page around the core: it builds the calculator's face from the core's own table, sends the
// boxes' texts to the core on each press and shows the texts it gets back (answers.js), with its
// report (report.js); the sky and the map (sky.js), the sliders, the planets, the address and
// the downloads around it. No number is worked out here: every number and every figure comes
// from the core, the companion's own code in WebAssembly; what may take long, from its copy in a
// worker.
import { buildFace } from './face.js';
import { makeAnswers } from './answers.js';
import { makeClock } from './clock.js';
import { makeCommands } from './commands.js';
import { dateTodayIfNone, makeFromDate } from './dates.js';
import { makePlaceBox } from './places.js';
import { makePlanets } from './planets.js';
import { showMonthAt } from './month.js';
import { readAddress, showLeftOut, writeAddress } from './address.js';
import { chartWidth, drawChart } from './figures.js';
import { makeDownloads } from './downloads.js';
import { makeFollow } from './frames.js';
import { makeReport } from './report.js';
import { makeRuns } from './runs.js';
import { makeSliders } from './sliders.js';
import { kDateControls, kSkyControls, makeSky } from './sky.js';

const loaded = performance.now();
const $ = (id) => document.getElementById(id);

// The page's parts, each made once; every press and every control works on them.
function start(core) {
  const { boxes, boxOf, results, face } = buildFace(core.face());
  const texts = () => Object.fromEntries(boxes.map((b) => [b.field, b.element.value]));
  const page = { core, boxes, boxOf, texts, press: () => press(page) };
  // The width the figures are drawn at, which only a window of another width changes.
  page.width = chartWidth($('chart'));
  page.follow = makeFollow();
  page.answers = makeAnswers(core, results, texts, loaded);
  page.clock = makeClock(core);
  page.planets = makePlanets(core, boxes, $('planet'), page.press);
  const planet = page.planets.name;
  page.commandsNow = makeCommands({ core, boxes, texts, planet, clock: page.clock });
  // The runs that may take long (the sky's chart, the map, the downloads) go to a worker.
  const ask = makeRuns();
  // The downloads are of what is shown: the values of the last press (or of the sky's values
  // last changed), not of a box typed into since.
  page.shown = null;
  page.fillDownloads = makeDownloads(ask, () => page.shown ?? page.commandsNow());
  // Puts the values a hint offers into their boxes and presses again.
  page.report = makeReport(boxes, boxOf, face, (tries) => {
    for (const [field, text] of Object.entries(tries)) {
      const b = boxOf(field);
      if (b) b.element.value = text;
    }
    page.press();
  });
  // The place box fills the latitude, the longitude and the clock (and today's date where none
  // is given) and presses.
  page.placeBox = makePlaceBox(core, (place) => {
    boxOf('latitude').element.value = place.latitude;
    $('longitude').value = place.longitude;
    page.clock.choose(place.timeZone);
    dateTodayIfNone();
    page.planets.keep();
    page.press();
  });
  const { commandsNow, follow } = page;
  page.sky = makeSky({ core, ask, texts, commandsNow, width: () => page.width, follow, planet });
  page.showFromDate = makeFromDate(boxOf('from_solstice').element);
  page.address = () =>
    writeAddress({
      values: texts(),
      planet: planet(),
      zone: page.clock.zone(),
      mapShown: page.sky.mapShown(),
    });
  page.placeSliders = makeSliders({ boxOf, moved: page.planets.keep, press: page.press, slide });
  // While a slider moves, each animation frame shows the results and the chart it touches (the
  // year's, or the sky's), and the coarse map last drawn. Its work is kept for the browser test.
  function slide(sky) {
    follow('slider', () => {
      if (sky) page.sky.showSkyChart();
      else {
        page.answers.showQuickly(core.compute(texts()));
        drawChart(core, texts(), page.width);
      }
      page.sky.showCoarseMap();
    });
  }
  wireControls(page);
  if (!restore(page)) {
    drawChart(core, texts(), page.width);
    page.sky.showSky();
    page.sky.showSkyDay();
    boxes[0].element.focus();
    boxes[0].element.select(); // typing replaces the starting text, as in the window
  }
}

// A press: the date's degrees first, where a date is given (the box then says so, until an angle
// typed into it clears the date); the results, said once by the live region (a stop is said by
// the report, an alert); then the address, the figures, the sky and the month.
function press(page) {
  const { core, boxOf, texts, clock, report, sky } = page;
  // A zone's offsets are named once their names are in (a small file, fetched once).
  if ($('date').value !== '' && !clock.ready()) {
    clock.load().then(page.press);
    return;
  }
  page.answers.clear();
  report.clear();
  const dated = sky.datedDay();
  if (dated?.row) boxOf('from_solstice').element.value = dated.row.orbit_angle;
  const values = texts();
  const answer = core.compute(values);
  report.showNotes(answer.notes);
  page.showFromDate(dated?.row ? dated.row.date : '');
  if (answer.stop) report.showStop(answer.stop);
  page.answers.show(answer);
  page.address();
  drawChart(core, values, page.width);
  page.placeSliders();
  sky.showSky();
  sky.showSkyDay(dated);
  const command = page.commandsNow().dated;
  const where = { place: page.placeBox.name(), zone: clock.zone(), read: core.read(values) };
  showMonthAt({ core, dated, command, ...where });
  page.shown = page.commandsNow();
  page.fillDownloads();
}

// The buttons, the window's width, and the sky's and the date's controls.
function wireControls(page) {
  $('Command1').addEventListener('click', page.press);
  $('Command1').disabled = false;
  $('link').href = location.href;
  $('draw-map').addEventListener('click', page.address);
  $('print-month').addEventListener('click', () => window.print());
  // A window made narrower or wider has its figures drawn again at its width.
  window.addEventListener('resize', () => {
    const now = chartWidth($('chart'));
    if (now === page.width) return;
    page.width = now;
    page.follow('resize', () => {
      drawChart(page.core, page.texts(), page.width);
      page.sky.showSky();
    });
  });
  for (const id of kSkyControls) {
    $(id).addEventListener('change', () => {
      page.shown = page.commandsNow();
      page.fillDownloads();
    });
  }
  for (const id of kDateControls) if (id !== 'place') $(id).addEventListener('change', page.press);
}

// The values of the address in their places, and a press where it gives any (which a place
// named in it makes, once looked up); false where it gives none.
function restore(page) {
  const { boxes, planets, clock, sky, placeBox } = page;
  const { taken: given, ignored } = readAddress([
    ...boxes.map((b) => b.field),
    'planet',
    ...kSkyControls,
    ...kDateControls,
    'map',
  ]);
  if (given.has('planet')) planets.fill(given.get('planet'));
  if (given.get('map') === 'shown') sky.showMap();
  for (const b of boxes) if (given.has(b.field)) b.element.value = given.get(b.field);
  for (const id of [...kSkyControls, ...kDateControls])
    if (given.has(id) && id !== 'time-zone' && id !== 'place') $(id).value = given.get(id);
  // A planet or a date the page cannot take is named in the note too, with why.
  if (given.has('planet') && !planets.name()) {
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
  planets.keep();
  // The place named is looked up, and taken (which presses); where it is not found, the values
  // as given.
  if (given.has('place'))
    placeBox.takeNamed(given.get('place')).then((taken) => taken || page.press());
  else if (given.size > 0) page.press();
  return given.size > 0;
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
