// The sky and the map: the sky's chart after every press, the map of every latitude once it is
// asked for, and the chosen day in the sky, with or without a date. Every figure and row is the
// companion's own, run in WebAssembly; the figures, which may take long, by the worker.
import { isMark } from './downloads.js';
import { markDrawing, placeFigure, placeWhy, saidInstead } from './figures.js';

const $ = (id) => document.getElementById(id);
// The sky's own values, each a control of that id and an option of daylight-cli sky.
export const kSkyControls = ['eccentricity', 'perihelion', 'horizon'];
export const kSkyDefaults = { eccentricity: '0', perihelion: '0', horizon: 'sunrise' };
// The Earth on a date at a place, also carried by the address.
export const kDateControls = ['date', 'place', 'longitude', 'time-zone', 'utc-offset'];
// The sky's values the core checks, each a control of that id, by the field the core names.
const kCheckedControls = {
  eccentricity: 'eccentricity',
  perihelion: 'perihelion',
  horizon: 'horizon',
  longitude: 'longitude',
  utc_offset: 'utc-offset',
};

// The sky of the values now: given the core, the worker's runs (runs.js), the boxes and their
// texts, the command lines of the values now, the width figures are drawn at, and the frames'
// scheduler.
export function makeSky({ core, ask, texts, commandsNow, width, follow, planet }) {
  // Each value of the sky's that it cannot use is marked, with the core's reason beside it, as the
  // calculator marks its boxes; true where every value can be used.
  function checkValues() {
    const why = core.skyValues(
      Object.fromEntries(Object.entries(kCheckedControls).map(([f, id]) => [f, $(id).value])),
    );
    for (const [field, id] of Object.entries(kCheckedControls)) {
      const control = $(id);
      let reason = $(`${id}-why`);
      if (reason === null) {
        reason = document.createElement('span');
        reason.id = `${id}-why`;
        reason.className = 'value-why';
        control.after(reason);
      }
      const bad = why[field] !== undefined;
      reason.textContent = bad ? `${why[field][0].toUpperCase()}${why[field].slice(1)}.` : '';
      reason.hidden = !bad;
      if (bad) {
        control.setAttribute('aria-invalid', 'true');
        control.setAttribute('aria-describedby', reason.id);
      } else {
        control.removeAttribute('aria-invalid');
        control.removeAttribute('aria-describedby');
      }
    }
    const orbit = ['eccentricity', 'perihelion', 'horizon'];
    return {
      sky: orbit.every((f) => why[f] === undefined),
      dated: Object.keys(why).length === 0,
    };
  }
  const kMarked = 'The sky cannot use a value marked above: change it, and the sky follows.';

  // A chart the companion draws, of a kind (the sky's or the map's), in its place once the worker
  // has drawn it, or what it said instead; meanwhile the figure shown is marked as being redrawn.
  // One asked for again as it was last (a press that changed none of its values) is left to the
  // run under way or the figure shown. A `sketch` is shown only until the figure it stands for.
  const drawn = new Map(); // by kind, the command last asked for
  function showFigure(box, kind, args, label, sketch = null) {
    if (!checkValues().sky) {
      drawn.delete(kind);
      placeWhy(box, kMarked);
      return;
    }
    const chart = [`--chart-width=${width()}`, '--chart', 'chart.svg'];
    const command = [...args, ...chart];
    const key = command.join(' ');
    if (drawn.get(kind) === key) return;
    drawn.set(kind, key);
    markDrawing(box);
    if (sketch !== null) {
      ask(`${kind}-sketch`, [...sketch, ...chart]).then((run) => {
        if (run?.status !== 0 || drawn.get(kind) !== key || box.getAttribute('aria-busy') === null)
          return;
        follow(kind, () => {
          placeFigure(box, run.svg, label);
          markDrawing(box);
        });
      });
    }
    ask(kind, command).then((run) => {
      if (run === null) return; // overtaken
      if (run.status === -1) drawn.delete(kind); // the core stopped: asked again, it runs again
      follow(kind, () => {
        if (run.status !== 0 || run.svg === '') placeWhy(box, saidInstead(run));
        else placeFigure(box, run.svg, label);
      });
    });
  }

  // The sky's chart follows every press; the map, slower to make, once it is asked for, shown
  // coarser (every 10 degrees, 36 steps a year) while it is made, and while a slider moves. Each
  // answer that is still the latest asked for is placed in the next frame.
  let mapShown = false;
  const kMapLabel = 'Daylight at every latitude through the year';
  const coarse = (map) => [...map, '--latitude-step=10', '--rows=36'];
  const showSkyChart = () =>
    showFigure(
      $('sky-chart'),
      'sky',
      commandsNow().sky,
      'The sky through the year: daylight, the three twilights and the night',
    );
  function showSky() {
    showSkyChart();
    const { map } = commandsNow();
    if (mapShown) showFigure($('map'), 'map', map, kMapLabel, coarse(map));
  }
  const showCoarseMap = () => {
    if (mapShown) showFigure($('map'), 'map', coarse(commandsNow().map), kMapLabel);
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
  // why there is none (another planet's, or a value marked); null where no date is given.
  function datedDay() {
    if ($('date').value === '') return null;
    if (planet() !== '' && planet() !== 'earth') {
      return { why: "Dates are the Earth's: this date is not applied to another planet." };
    }
    if (!checkValues().dated) return { why: kMarked };
    return rowOf(core.run([...commandsNow().dated, `--date=${$('date').value}`, '--json']));
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
    const against = $('sky-against');
    against.textContent = '';
    const chosen = core.chosen(texts()).day;
    // The command of the day's row, at the sky's horizon; null where there is no such day.
    const args =
      dated !== null
        ? [...commandsNow().dated, `--date=${$('date').value}`, '--json']
        : chosen === ''
          ? null
          : [...commandsNow().sky.filter((a) => !isMark(a)), `--day-at=${chosen}`, '--json'];
    let day = dated;
    if (day === null && args !== null) {
      day = checkValues().sky ? rowOf(core.run(args)) : { why: kMarked };
    }
    if (day === null || day.why !== undefined) {
      line.textContent = day?.why ?? '';
      return;
    }
    const { row } = day;
    // On a day of 24 hours, times and lengths as people read them (05:41, 14 h 25 min), the
    // core's; on another, the numbers in the unit of the solar day.
    const hours = dated !== null || core.read(texts()).solar_day === '24';
    const at = (t) => (hours ? core.clockText(t) : t);
    const long = (t) => (hours ? core.lengthText(t) : t);
    const lengths =
      `daylight ${long(row.daylight)}, civil twilight ${long(row.civil)}, ` +
      `nautical ${long(row.nautical)}, astronomical ${long(row.astronomical)}`;
    const clock = dated ? `on the clock (${row.zone})` : 'of local mean solar time';
    const times =
      row.sun === 'rises'
        ? `sunrise ${at(row.sunrise)}, noon ${at(row.noon)}, sunset ${at(row.sunset)} ${clock}`
        : `no sunrise or sunset (${row.sun}), noon ${at(row.noon)} ${clock}`;
    line.textContent = dated
      ? `${row.date} is ${row.orbit_angle}° past the winter solstice: ${lengths}; ${times}.`
      : `In the sky, the chosen day (${row.orbit_angle}° past the winter solstice): ${lengths}` +
        `${hours ? '' : ', in the unit of the solar day'}; ${times}.`;
    // Beside it, how far that is from the calculator's Daylight, and why, where both have one.
    const calculator = core.compute(texts()).results?.lblDay ?? '';
    if (calculator === '' || row.sun !== 'rises') return;
    const atLevel = rowOf(
      core.run([...args.filter((a) => !a.startsWith('--horizon=')), '--horizon=geometric']),
    );
    if (atLevel.row === undefined) return;
    const horizon = dated ? 'sunrise' : $('horizon').value;
    against.textContent = core.difference(row.daylight, atLevel.row.daylight, calculator, horizon);
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
