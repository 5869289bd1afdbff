// The sky and the map: the sky's chart after every press, the map of every latitude once it is
// asked for, and the chosen day in the sky, with or without a date. Every figure and row is the
// companion's own, run in WebAssembly; the figures, which may take long, by the worker.
import { markDrawing, placeFigure, placeWhy, saidInstead } from './figures.js';

const $ = (id) => document.getElementById(id);
// The sky's own values, each a control of that id and an option of daylight-cli sky.
export const kSkyControls = ['eccentricity', 'perihelion', 'horizon'];
export const kSkyDefaults = { eccentricity: '0', perihelion: '0', horizon: 'sunrise' };
// The Earth on a date at a place, also carried by the address.
export const kDateControls = ['date', 'longitude', 'utc-offset'];

// The sky of the values now: given the core, the worker's runs (runs.js), the boxes and their
// texts, the command lines of the values now, the width figures are drawn at, and the frames'
// scheduler.
export function makeSky({ core, ask, boxOf, texts, commandsNow, width, follow }) {
  // A chart the companion draws, of a kind (the sky's or the map's), in its place once the worker
  // has drawn it, or what it said instead; meanwhile the figure shown is marked as being redrawn.
  function showFigure(box, kind, args, label) {
    markDrawing(box);
    ask(kind, [...args, `--chart-width=${width()}`, '--chart', 'chart.svg']).then((run) => {
      if (run === null) return; // overtaken
      follow(kind, () => {
        if (run.status !== 0 || run.svg === '') placeWhy(box, saidInstead(run));
        else placeFigure(box, run.svg, label);
      });
    });
  }

  // The sky's chart follows every press; the map, slower to make, once it is asked for. While a
  // slider moves, the map is drawn coarser (every 10 degrees, 36 steps a year). Each answer that
  // is still the latest asked for is placed in the next frame.
  let mapShown = false;
  const kMapLabel = 'Daylight at every latitude through the year';
  const showSkyChart = () =>
    showFigure(
      $('sky-chart'),
      'sky',
      commandsNow().sky,
      'The sky through the year: daylight, the three twilights and the night',
    );
  function showSky() {
    showSkyChart();
    if (mapShown) showFigure($('map'), 'map', commandsNow().map, kMapLabel);
  }
  const showCoarseMap = () => {
    if (!mapShown) return;
    showFigure(
      $('map'),
      'map',
      [...commandsNow().map, '--latitude-step=10', '--rows=36'],
      kMapLabel,
    );
  };
  // The map from now on, asked for by its button or by the address (map=shown).
  function showMap() {
    mapShown = true;
    $('draw-map').hidden = true;
  }
  $('draw-map').addEventListener('click', () => {
    showMap();
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
    const latitude = boxOf('latitude').element.value;
    return rowOf(
      core.run([
        'sky',
        `--latitude=${latitude}`,
        `--longitude=${$('longitude').value}`,
        `--utc-offset=${$('utc-offset').value}`,
        `--date=${$('date').value}`,
        '--json',
      ]),
    );
  }
  // The first row of a run that printed JSON, {row}, or what it said instead, {why}.
  function rowOf(run) {
    return run.status === 0 ? { row: JSON.parse(run.out).rows[0] } : { why: saidInstead(run) };
  }

  // The chosen day in the sky: the date's (see datedDay), whose degrees went into Deg from Winter
  // Solstice; or without a date the day at Deg from Winter Solstice, as daylight-cli sky --day-at
  // gives it.
  function showSkyDay(dated = datedDay()) {
    const line = $('sky-day');
    const chosen = core.chosen(texts()).day;
    const day =
      dated ??
      (chosen === ''
        ? null
        : rowOf(core.run([...commandsNow().sky, `--day-at=${chosen}`, '--json'])));
    if (day === null || day.why !== undefined) {
      line.textContent = day?.why ?? '';
      return;
    }
    const { row } = day;
    const lengths =
      `daylight ${row.daylight}, civil twilight ${row.civil}, nautical ${row.nautical}, ` +
      `astronomical ${row.astronomical}`;
    const clock = dated ? 'on the clock' : 'of local mean solar time';
    const times =
      row.sun === 'rises'
        ? `sunrise ${row.sunrise}, noon ${row.noon}, sunset ${row.sunset} ${clock}`
        : `no sunrise or sunset (${row.sun}), noon ${row.noon} ${clock}`;
    line.textContent = dated
      ? `${row.date} is ${row.orbit_angle}° past the winter solstice: ${lengths} hours; ${times}.`
      : `In the sky, the chosen day (${row.orbit_angle}° past the winter solstice): ${lengths}, ` +
        `in the unit of the solar day; ${times}.`;
  }

  return {
    showSkyChart,
    showSky,
    showCoarseMap,
    datedDay,
    showSkyDay,
    showMap,
    mapShown: () => mapShown,
  };
}
