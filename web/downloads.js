// The downloads: what daylight-cli writes for the same values, made by the same C++ (the
// companion in WebAssembly, by the worker) when a link is clicked, and saved once made. Each link
// keeps the command line it stands for, set when the list is opened and at each press while it
// is open; while its bytes are being made it is marked busy.
import { saidInstead } from './figures.js';

const $ = (id) => document.getElementById(id);

// The options that mark a chart (the chosen day and latitude).
export const isMark = (arg) => arg.startsWith('--mark=') || arg.startsWith('--mark-latitude=');

// The links, filled by the function returned: given the worker's runs (runs.js) and the command
// lines of the values now.
export function makeDownloads(ask, commandsNow) {
  const downloads = [];
  const list = $('download-list');
  for (const table of ['year', 'sky', 'map', 'sun', 'sunlight', 'history']) {
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
  // A link's bytes, or why there are none. Bytes made for its command line are saved by the
  // browser when it is clicked; a click before that has them made, then saved.
  function link(a, blob, why) {
    if (a.dataset.url) URL.revokeObjectURL(a.dataset.url);
    delete a.dataset.url;
    a.href = blob ? URL.createObjectURL(blob) : '#';
    if (blob) a.dataset.url = a.href;
    a.removeAttribute('aria-busy');
    if (why === '') a.removeAttribute('aria-disabled');
    else a.setAttribute('aria-disabled', 'true');
    a.title = why;
  }
  for (const { a, form } of downloads) {
    a.addEventListener('click', (event) => {
      if (a.dataset.made === a.dataset.args) return;
      event.preventDefault();
      if (a.hasAttribute('aria-busy') || a.hasAttribute('aria-disabled')) return;
      const { args } = a.dataset;
      a.setAttribute('aria-busy', 'true');
      ask(a.download, JSON.parse(args), form === 'svg' ? false : form).then((run) => {
        if (run === null || a.dataset.args !== args) return; // overtaken by a later press
        const blob =
          form === 'svg' ? run.svg && new Blob([run.svg], { type: 'image/svg+xml' }) : run.out;
        const made = run.status === 0 && blob && blob.size > 0;
        link(a, made ? blob : null, made ? '' : saidInstead(run));
        if (!made) return;
        a.dataset.made = args;
        a.click();
      });
    });
  }
  function fill() {
    if (!$('downloads').open) return;
    const commands = commandsNow();
    for (const { a, table, form } of downloads) {
      const extra = { csv: [], json: ['--json'], svg: ['--chart', a.download] }[form];
      // The sky's table is the date's year at the place where a date is given; its chart, the
      // sky's.
      const tableOf = table === 'sky' && form !== 'svg' ? 'skyTable' : table;
      const command = commands[tableOf];
      // A table takes no mark: that is the chart's. The sun's path needs a day.
      const args =
        command === null
          ? 'none'
          : JSON.stringify([
              ...(form === 'svg' ? command : command.filter((arg) => !isMark(arg))),
              ...extra,
            ]);
      if (a.dataset.args === args) continue;
      a.dataset.args = args;
      delete a.dataset.made;
      link(a, null, command === null ? 'No day is chosen: give Deg from Winter Solstice.' : '');
    }
  }
  $('downloads').addEventListener('toggle', fill);
  return fill;
}
