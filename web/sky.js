// The sky and the map: the sky's chart after every press, the map of every latitude once it is
// asked for, the chosen day in the sky, with or without a date, and the sun's path through it.
// Every figure and row is the companion's own, run in WebAssembly; the figures, which may take
// long, by the worker.
import { coarse, makeWorkerFigures, placeWhy } from './figures.js';
import { kMarked, makeSkyValues } from './sky-values.js';
import { makeSkyDay, makeSunNoon } from './sky-day.js';
import { makeSunlight } from './sunlight.js';

const $ = (id) => document.getElementById(id);
// The sky's own values, each a control of that id and an option of daylight-cli sky.
export const kSkyControls = ['eccentricity', 'perihelion', 'horizon'];
export const kSkyDefaults = { eccentricity: '0', perihelion: '0', horizon: 'sunrise' };
// The Earth on a date at a place, also carried by the address.
export const kDateControls = ['date', 'place', 'longitude', 'time-zone', 'utc-offset'];
// The sky of the values now: given the core, the worker's runs (runs.js), the boxes and their
// texts, the command lines of the values now, the width figures are drawn at, and the frames'
// scheduler.
export function makeSky({ core, ask, texts, commandsNow, width, follow, planet }) {
  const checkValues = makeSkyValues(core);
  const usable = () => checkValues().sky;
  const skyDay = makeSkyDay({ core, texts, commandsNow, planet, checkValues });
  const { datedDay } = skyDay;
  const showSunNoon = makeSunNoon({ core, texts, commandsNow, checkValues });
  // The chosen day, and the sun at its noon: each press, and each of the sky's values changed
  // (not each redrawing at another width).
  function showSkyDay(dated) {
    skyDay.showSkyDay(dated);
    showSunNoon();
  }
  const { showFigure, forget } = makeWorkerFigures({
    ask,
    follow,
    width,
    usable,
    marked: kMarked,
  });
  // The sky's chart follows every press; the map, slower to make, once it is asked for, shown
  // coarser (every 10 degrees, 36 steps a year) while it is made, and while a slider moves. Each
  // answer that is still the latest asked for is placed in the next frame.
  let mapShown = false;
  const kMapLabel = 'Daylight at every latitude through the year';
  const showSkyChart = () =>
    showFigure(
      $('sky-chart'),
      'sky',
      commandsNow().sky,
      'The sky through the year: daylight, the three twilights and the night',
    );
  const kNoDay = "Give Deg from Winter Solstice, or a date, for the sun's path through that day.";
  function showSunChart() {
    const { sun } = commandsNow();
    if (sun !== null) {
      showFigure($('sun-chart'), 'sun', sun, "The sun's path through the chosen day");
      return;
    }
    forget('sun');
    placeWhy($('sun-chart'), kNoDay);
  }
  const showSunlight = makeSunlight({ showFigure, forget, commandsNow, planet });
  function showSky() {
    showSkyChart();
    showSunChart();
    showSunlight();
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
