// The command lines of daylight-cli for the year, the sky and the map of the values now, each box
// as the calculator reads it, their charts marking the chosen day (and on the map the latitude)
// where the boxes give them; the Earth at the place for a date, and its whole year where a date
// is given; and the sun's path through the date, or else the chosen day (none without one).
import { kSkyControls } from './sky.js';
import { kHistory } from './sunlight.js';

const $ = (id) => document.getElementById(id);

export function makeCommands({ core, boxes, texts, planet, clock }) {
  return function commandsNow() {
    const chosenPlanet = planet();
    const named = chosenPlanet ? ['--planet', chosenPlanet] : [];
    const read = core.read(texts());
    const valuesOf = (skip) =>
      boxes
        .filter((b) => b.field !== 'from_solstice' && b.field !== skip)
        .map((b) => `${b.option}=${read[b.field]}`);
    const sky = kSkyControls.map((id) => `--${id}=${$(id).value}`);
    // Sunlight takes the orbit's values, not the horizon's.
    const orbit = sky.filter((arg) => !arg.startsWith('--horizon='));
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
    const onTheDate = $('date').value !== '' && (!chosenPlanet || chosenPlanet === 'earth');
    const sun = onTheDate
      ? ['sun', ...dated.slice(1), `--date=${$('date').value}`]
      : chosen.day === ''
        ? null
        : ['sun', ...named, ...valuesOf(), ...sky, `--day-at=${chosen.day}`];
    return {
      sun,
      year: ['year', ...named, ...valuesOf(), ...day],
      sky: ['sky', ...named, ...valuesOf(), ...sky, ...day],
      map: ['sky', '--map', ...named, ...valuesOf('latitude'), ...sky, ...day, ...latitude],
      sunlight: ['insolation', '--map', ...named, ...valuesOf('latitude'), ...orbit, ...day],
      history: kHistory,
      dated,
      skyTable: onTheDate
        ? [...dated, `--from=${year}-01-01`, `--to=${year}-12-31`]
        : ['sky', ...named, ...valuesOf(), ...sky, ...day],
    };
  };
}
