// The report of a press: a stop stands beside the first box it names, every box it names marked
// and described by it, with the values its hint offers to use; the notes on values not read whole,
// one line each, tied to its box.
import { em } from './face.js';

const $ = (id) => document.getElementById(id);

// The report for the face's boxes; useTries puts the values a hint offers into their boxes.
export function makeReport(boxes, boxOf, face, useTries) {
  const report = $('report');
  const notes = $('notes');

  function clearReport() {
    report.hidden = true;
    report.textContent = '';
    notes.hidden = true;
    notes.textContent = '';
    for (const b of boxes) {
      b.element.removeAttribute('aria-invalid');
      b.element.removeAttribute('aria-describedby');
      b.element.parentElement.classList.remove('named', 'noted');
    }
  }

  // The notes on values not read whole: one line each, tied to its box.
  function showNotes(list) {
    for (const n of list) {
      const b = boxOf(n.field);
      const line = document.createElement('p');
      line.id = `note-${n.field}`;
      line.textContent = `${n.text}.`;
      notes.append(line);
      if (b) {
        b.element.setAttribute('aria-describedby', line.id);
        b.element.parentElement.classList.add('noted');
      }
    }
    notes.hidden = list.length === 0;
  }

  // The report stands beside the first box it names; every box it names is marked.
  function showStop(stop) {
    const named = stop.boxes.map(boxOf).filter(Boolean);
    const title = document.createElement('strong');
    title.textContent = `${stop.message[0].toUpperCase()}${stop.message.slice(1)}.`;
    const text = document.createElement('p');
    const words = [stop.cause, stop.hint, stop.year].filter((w) => w !== '').join(' ');
    text.textContent = words;
    report.replaceChildren(title, text);
    if (Object.keys(stop.tries).length > 0) {
      const use = document.createElement('button');
      use.type = 'button';
      use.id = 'use-tries';
      use.textContent = 'Use these values';
      use.addEventListener('click', () => useTries(stop.tries));
      report.append(use);
    }
    for (const b of named) {
      b.element.setAttribute('aria-invalid', 'true');
      // A box with a note keeps it, and the report follows.
      const described = b.element.getAttribute('aria-describedby');
      b.element.setAttribute('aria-describedby', described ? `${described} report` : 'report');
      b.element.parentElement.classList.add('named');
    }
    const first = named[0];
    const top = first
      ? face.controls.find((c) => c.name === first.element.parentElement.id).top
      : 0;
    report.style.setProperty('--report-top', em(top));
    report.hidden = false; // an alert, which says it
    if (first) first.element.focus();
  }

  return { clear: clearReport, showNotes, showStop };
}
