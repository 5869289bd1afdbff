// The chosen month at the place, as a handout gives it: the rows of daylight-cli sky --month
// --clock, each cell as the companion prints it, under the place, its coordinates and its clock.
const $ = (id) => document.getElementById(id);

// Shows the month of the run, or hides it where there is none; `where` says the place.
export function showMonth(run, where) {
  const section = $('month');
  const shown = run !== null && run.status === 0;
  section.hidden = !shown;
  document.body.classList.toggle('with-month', shown);
  if (!shown) return;
  const [head, ...rows] = run.out.trimEnd().split('\n');
  const th = (text) => {
    const cell = document.createElement('th');
    cell.scope = 'col';
    cell.textContent = text;
    return cell;
  };
  const headings = { dawn: 'dawn (civil)', dusk: 'dusk (civil)', change: 'change' };
  const headRow = document.createElement('tr');
  headRow.append(...head.split(',').map((c) => th(headings[c] ?? c)));
  $('month-table').tHead.replaceChildren(headRow);
  const body = $('month-table').tBodies[0];
  body.replaceChildren(
    ...rows.map((line) => {
      const tr = document.createElement('tr');
      for (const text of line.split(',')) {
        const td = document.createElement('td');
        td.textContent = text;
        tr.append(td);
      }
      return tr;
    }),
  );
  $('month-where').textContent = where;
}

// The month of the date at the place, where a date gives the day (`dated`, as the sky's
// datedDay gives it); `command` is that of the place and its clock, `place` its name or ''.
export function showMonthAt({ core, dated, command, read, place, zone }) {
  if (!dated?.row) {
    showMonth(null, '');
    return;
  }
  const month = $('date').value.slice(0, 7);
  const run = core.run([...command, `--month=${month}`, '--clock']);
  const named = place === '' ? '' : `${place}: `;
  const clock = zone === '' ? `${$('utc-offset').value} hours ahead of UTC` : zone;
  showMonth(
    run,
    `${named}latitude ${read.latitude}°, longitude ${$('longitude').value}°, ` +
      `clock ${clock}; ${month}.`,
  );
}
