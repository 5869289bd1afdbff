// The address: the values a link carries, each known field once, of a reasonable length and
// without control characters; everything else is named in one short line that opens.
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
