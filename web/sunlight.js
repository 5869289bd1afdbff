// Sunlight: the daily mean at the top of the air at every latitude through the chosen planet's
// year, after every press (a coarse sketch first, while the worker makes the whole map), and the
// Earth's summer at 65° N through the last million years. Both figures are the companion's own,
// drawn by the worker; the page works nothing out.
import { coarse, placeWhy } from './figures.js';

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

// Given the sky's figures drawn by the worker (figures.js), the command lines of the values now
// and the planet chosen.
export function makeSunlight({ showFigure, forget, commandsNow, planet }) {
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
