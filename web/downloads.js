// The downloads: what daylight-cli writes for the same values, made by the same C++ (the
// companion in WebAssembly) when the list is opened and at each press while it is open. Each
// link keeps the command line it stands for.
import { saidInstead } from './figures.js';

const $ = (id) => document.getElementById(id);
const types = { csv: 'text/csv', json: 'application/json', svg: 'image/svg+xml' };

// The links, filled by the function returned: given the core and the command lines of the values
// now.
export function makeDownloads(core, commandsNow) {
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
  function fill() {
    if (!$('downloads').open) return;
    const commands = commandsNow();
    for (const { a, table, form } of downloads) {
      const extra = { csv: [], json: ['--json'], svg: ['--chart', a.download] }[form];
      const args = [...commands[table], ...extra];
      const run = core.run(args);
      const bytes = form === 'svg' ? run.svg : run.out;
      a.dataset.args = JSON.stringify(args);
      if (run.status === 0 && bytes !== '') {
        a.href = `data:${types[form]};charset=utf-8,${encodeURIComponent(bytes)}`;
        a.removeAttribute('aria-disabled');
        a.title = '';
      } else {
        a.removeAttribute('href');
        a.setAttribute('aria-disabled', 'true');
        a.title = saidInstead(run);
      }
    }
  }
  $('downloads').addEventListener('toggle', fill);
  return fill;
}
