// Sunlight: the daily mean at the top of the air at every latitude through the chosen planet's
// year, after every press (a coarse sketch first, while the worker makes the whole map), and the
// Earth's summer at 65° N through the last million years. Both figures are the companion's own,
// drawn by the worker; the page works nothing out.
import { makeWorkerFigures, placeWhy } from './figures.js';

const $ = (id) => document.getElementById(id);

// The Earth's curve through time, as the README gives it: 65° N at the summer solstice, a row
// every thousand years.
export const kHistory = [
  'insolation',
  '--latitude=65',
  '--orbit-angle=180',
  '--from-kyr=-1000',
  '--to-kyr=0',
];
const kHistoryWhy =
  "The curve through time is the Earth's orbit: choose the Earth, or no planet, to see it.";

// Given the worker's runs, the frames' scheduler, the width figures are drawn at, whether the
// sky's values can be used and what is said instead, the command lines of the values now and the
// planet chosen.
export function makeSunlight({ ask, follow, width, usable, marked, commandsNow, planet }) {
  const { showFigure, forget } = makeWorkerFigures({ ask, follow, width, usable, marked });
  const coarse = (map) => [...map, '--latitude-step=10', '--rows=36'];
  return function showSunlight() {
    const { sunlight } = commandsNow();
    showFigure(
      $('sunlight-map'),
      'sunlight',
      sunlight,
      'Daily mean sunlight at the top of the air at every latitude through the year',
      coarse(sunlight),
    );
    const chosen = planet();
    if (chosen && chosen !== 'earth') {
      forget('history');
      placeWhy($('sunlight-history'), kHistoryWhy);
      return;
    }
    showFigure(
      $('sunlight-history'),
      'history',
      kHistory,
      "The Earth's sunlight at 65 degrees north at the summer solstice through the last million years",
    );
  };
}
