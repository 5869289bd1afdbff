// The downloads: what daylight-cli writes for the same values, made by the same C++ (the
// companion in WebAssembly, by the worker) when the list is opened and at each press while it is
// open. Each link keeps the command line it stands for; until its bytes come it is marked busy.
import { saidInstead } from './figures.js';

const $ = (id) => document.getElementById(id);

// The options that mark a chart (the chosen day and latitude).
export const isMark = (arg) => arg.startsWith('--mark=') || arg.startsWith('--mark-latitude=');

// The links, filled by the function returned: given the worker's runs (runs.js) and the command
// lines of the values now.
export function makeDownloads(ask, commandsNow) {
  const downloads = [];
  const list = $('download-list');
  for (const table of ['year', 'sky', 'map']) {
    for (const form of ['csv', 'json', 'svg']) {
      const item = document.createElement('li');
      const a = document.createElement('a');
      a.download = `${table}.${form}`;
      a.textContent = a.download;
      item.append(a);
      list.append(item);
      downloads.push({ a, table, form });
    }
  }
  // A link to bytes, or none, with why.
  function link(a, blob, why) {
    if (a.href) URL.revokeObjectURL(a.href);
    a.removeAttribute('aria-busy');
    if (blob) {
      a.href = URL.createObjectURL(blob);
      a.removeAttribute('aria-disabled');
      a.title = '';
    } else {
      a.removeAttribute('href');
      a.setAttribute('aria-disabled', 'true');
      a.title = why;
    }
  }
  function fill() {
    if (!$('downloads').open) return;
    const commands = commandsNow();
    for (const { a, table, form } of downloads) {
      const extra = { csv: [], json: ['--json'], svg: ['--chart', a.download] }[form];
      // The sky's table is the date's year at the place where a date is given; its chart, the
      // sky's.
      const tableOf = table === 'sky' && form !== 'svg' ? 'skyTable' : table;
      // A table takes no mark: that is the chart's.
      const args = [
        ...(form === 'svg' ? commands[tableOf] : commands[tableOf].filter((arg) => !isMark(arg))),
        ...extra,
      ];
      a.dataset.args = JSON.stringify(args);
      link(a, null, 'Being made');
      a.setAttribute('aria-busy', 'true');
      ask(a.download, args, form === 'svg' ? false : form).then((run) => {
        if (run === null) return; // overtaken by a later press
        const blob =
          form === 'svg' ? run.svg && new Blob([run.svg], { type: 'image/svg+xml' }) : run.out;
        link(a, run.status === 0 && blob && blob.size > 0 ? blob : null, saidInstead(run));
      });
    }
  }
  $('downloads').addEventListener('toggle', fill);
  return fill;
}
