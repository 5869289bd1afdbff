// The chosen day in the sky: the Earth's on a date at a place, or without a date the day at Deg
// from Winter Solstice; its lengths and times as the companion gives them, beside them how far
// its daylight is from the calculator's, and why; and the sun at that day's noon.
import { isMark } from './downloads.js';
import { saidInstead } from './figures.js';
import { kMarked } from './sky-values.js';

const $ = (id) => document.getElementById(id);
// The longest solar day whose noon the page works out on its own thread, in its unit: a row an
// hour, some milliseconds.
const kLongestDayHere = 10000;

// The first row of a run that printed JSON, {row}, or what it said instead, {why}.
function rowOf(run) {
  return run.status === 0 ? { row: JSON.parse(run.out).rows[0] } : { why: saidInstead(run) };
}

export function makeSkyDay({ core, texts, commandsNow, planet, checkValues }) {
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
  return { datedDay, showSkyDay };
}

// The sun at the chosen day's noon, as daylight-cli sun gives it: how high, in which direction,
// and the shadow of a stick 1 m high; at its time on the place's clock, or of local mean solar
// time.
export function makeSunNoon({ core, texts, commandsNow, checkValues }) {
  return function showSunNoon() {
    const line = $('sun-noon');
    const { sun } = commandsNow();
    line.textContent = '';
    if (sun === null || !checkValues().sky) return;
    // Made here, at a row an hour: not for a day so long that its rows would hold the page up
    // (its chart, made by the worker, still comes).
    const dated = sun.some((a) => a.startsWith('--date='));
    if (!dated && !(Number(core.read(texts()).solar_day) <= kLongestDayHere)) return;
    const run = core.run([...sun, '--every=60', '--json']);
    if (run.status !== 0) return;
    const day = JSON.parse(run.out);
    const hours = dated || core.read(texts()).solar_day === '24';
    const at = hours ? core.clockText(day.noon) : day.noon;
    const clock = dated ? 'on the clock' : 'of local mean solar time';
    const altitude = Number(day.noon_altitude);
    const azimuth = Number(day.noon_azimuth);
    const towards = azimuth > 90 && azimuth < 270 ? 'south' : 'north';
    line.textContent =
      day.noon_shadow === ''
        ? `The sun at noon (${at} ${clock}): ${(-altitude).toFixed(1)}° below the horizon.`
        : `The sun at noon (${at} ${clock}): ${altitude.toFixed(1)}° high in the ${towards}; ` +
          `a 1 m stick casts a ${Number(day.noon_shadow).toFixed(2)} m shadow.`;
  };
}
