// The address: the values a link carries, each known field once, of a reasonable length and
// without control characters; everything else is named in one short line that opens. Written at
// each press, so that opening it restores the page.
import { kDateControls, kSkyControls, kSkyDefaults } from './sky.js';

const kLongestParameter = 1000;
const kLongestKeyShown = 24;
const kNamedInTheNote = 3;

// Characters no note repeats: controls, and those that turn the direction of text.
const unprintable = /[\u0000-\u001f\u007f-\u009f\u200e\u200f\u202a-\u202e\u2066-\u2069]/;

// A parameter's name as a note shows it: quoted, cut short, and never unprintable.
function shownKey(key) {
  if (unprintable.test(key)) return 'a name with control characters';
  const cut = [...key];
  return `“${cut.length > kLongestKeyShown ? `${cut.slice(0, kLongestKeyShown).join('')}…` : key}”`;
}

// The address's values, {taken, ignored}: the known fields, each once, of a reasonable length
// and without control characters, and what was left out of them, each with its reason.
export function readAddress(known) {
  const fields = new Set(known);
  const taken = new Map();
  const ignored = [];
  for (const [key, value] of new URLSearchParams(location.search)) {
    if (!fields.has(key)) ignored.push(`${shownKey(key)} (not a value of this calculator)`);
    else if (taken.has(key)) ignored.push(`${key} (given twice; the first is used)`);
    else if (value.length > kLongestParameter) ignored.push(`${key} (too long)`);
    else if (unprintable.test(value)) ignored.push(`${key} (control characters)`);
    else taken.set(key, value);
  }
  return { taken, ignored };
}

// What was left out of the address, named in a short note (the first few, the rest counted).
export function showLeftOut(ignored) {
  if (ignored.length === 0) return;
  const note = document.getElementById('note');
  // One short line, which opens to name them.
  const named = ignored.slice(0, kNamedInTheNote).join(', ');
  const more = ignored.length - kNamedInTheNote;
  const details = document.createElement('details');
  const summary = document.createElement('summary');
  summary.textContent = `Left out of the address: ${ignored.length.toLocaleString('en')} ${
    ignored.length === 1 ? 'value' : 'values'
  }`;
  const list = document.createElement('p');
  list.textContent = `${named}${more > 0 ? `, and ${more.toLocaleString('en')} more` : ''}.`;
  details.append(summary, list);
  note.replaceChildren(details);
  note.hidden = false;
}

// The address of the values now: the boxes' texts, the planet, the sky's values where they are
// not the starting ones (all of them with a planet), and with a date the place and its clock
// (a zone's name, or a fixed offset).
export function writeAddress({ values, planet, zone, mapShown }) {
  const $ = (id) => document.getElementById(id);
  const sky = Object.fromEntries(
    kSkyControls
      .map((id) => [id, $(id).value])
      .filter(([id, v]) => v !== kSkyDefaults[id] || planet),
  );
  const date = Object.fromEntries(
    kDateControls
      .map((id) => [id, $(id).value])
      .filter(([, v]) => $('date').value !== '' && v !== '')
      .filter(([id]) => id !== (zone === '' ? 'time-zone' : 'utc-offset')),
  );
  if ($('date').value !== '') date['time-zone'] = zone;
  const address = new URLSearchParams({
    ...(planet ? { planet } : {}),
    ...values,
    ...sky,
    ...date,
    ...(mapShown ? { map: 'shown' } : {}),
  });
  history.replaceState(null, '', `?${address}`);
  $('link').href = location.href;
}
