// The figures the core draws, placed in the page as they come: no drawing here.
const $ = (id) => document.getElementById(id);

// The width a figure is drawn at: its box's in the pixels of a 16 pixel font, from a phone's 300
// up to the usual 800, so that its texts keep their size on every screen and grow with the
// browser's font size.
export function chartWidth(box) {
  const rem = parseFloat(window.getComputedStyle(document.documentElement).fontSize) / 16;
  return Math.max(300, Math.min(800, Math.floor(box.clientWidth / rem)));
}

// The chart of the texts: the figure the core draws, the same SVG daylight-cli year --chart
// writes at that width; or why there is no year, and what to change, in words that wrap.
export function drawChart(core, texts, width) {
  const box = $('chart'),
    download = $('chart-svg');
  const chart = core.chart(texts, width);
  download.hidden = Boolean(chart.stop);
  if (chart.stop) {
    download.removeAttribute('href');
    placeWhy(box, `No year to draw. ${chart.stop.cause} ${chart.stop.hint}`);
    return;
  }
  placeFigure(
    box,
    chart.svg,
    'Daylight through the year, with the twilights and the polar day and night',
  );
  download.href = `data:image/svg+xml;charset=utf-8,${encodeURIComponent(chart.svg)}`;
}

// A figure of the core's into its box, named for a screen reader.
export function placeFigure(box, svg, label) {
  const figure = document.adoptNode(
    new DOMParser().parseFromString(svg, 'image/svg+xml').documentElement,
  );
  figure.setAttribute('role', 'img');
  figure.setAttribute('aria-label', label);
  // Its ids (its plot's clip) become its box's, or the first figure's would clip every other.
  for (const element of figure.querySelectorAll('[id]')) {
    const own = `${box.id}-${element.id}`;
    for (const user of figure.querySelectorAll(`[clip-path="url(#${element.id})"]`)) {
      user.setAttribute('clip-path', `url(#${own})`);
    }
    element.id = own;
  }
  box.replaceChildren(figure);
  box.removeAttribute('aria-busy');
}

// A figure's box while the core draws it anew: the figure it shows is kept, dimmed, and the box
// said to be busy; an empty one says so in words.
export function markDrawing(box) {
  box.setAttribute('aria-busy', 'true');
  if (box.firstElementChild === null) {
    const note = document.createElement('p');
    note.className = 'drawing';
    note.textContent = 'Drawing…';
    box.append(note);
  }
}

// Why there is no figure, in words that wrap, in the figure's place.
export function placeWhy(box, text) {
  const why = document.createElement('p');
  why.className = 'no-year';
  why.textContent = text;
  box.replaceChildren(why);
  box.removeAttribute('aria-busy');
}

// The options the page has a control for: a hint that offers another (a step) is left out.
const kOnThePage = new Set([
  '--tilt',
  '--latitude',
  '--solar-day',
  '--from-solstice',
  '--year',
  '--eccentricity',
  '--perihelion',
  '--horizon',
  '--longitude',
  '--utc-offset',
]);

// The lines of a problem the companion wrote as JSON on its output (where JSON was asked for).
function problemLines(out) {
  try {
    const problem = JSON.parse(out);
    if (typeof problem.message !== 'string') return [];
    const tries = Object.keys(problem.try ?? {}).map((f) => `--${f.replaceAll('_', '-')}`);
    return [
      problem.message,
      ...(problem.hint ? [`hint: ${problem.hint}`] : []),
      ...(tries.length > 0 ? [`try: ${tries.join(' ')}`] : []),
    ];
  } catch {
    return [];
  }
}

// What a run of the companion said instead of its output, without the program's name: its
// problem's message, and its hint where the page has a control for every value it offers.
export function saidInstead(run) {
  const said = run.err.replace(/^daylight-cli: /gm, '').trim();
  const lines =
    said === '' && typeof run.out === 'string' ? problemLines(run.out) : said.split('\n');
  const tried = lines.find((l) => l.startsWith('try: ')) ?? '';
  const usable = [...tried.matchAll(/--[a-z-]+/g)].every(([option]) => kOnThePage.has(option));
  return lines
    .filter((l) => !l.startsWith('try: ') && (usable || !l.startsWith('hint: ')))
    .join('\n');
}

// A map's coarse sketch, shown while the whole map is made and while a slider moves: every 10
// degrees of latitude, 36 steps a year.
export const coarse = (map) => [...map, '--latitude-step=10', '--rows=36'];

// Charts the companion draws by the worker (runs.js), each of a kind, given the worker's runs, the
// frames' scheduler, the width figures are drawn at, whether the values can be drawn, and what
// is said instead where they cannot.
export function makeWorkerFigures({ ask, follow, width, usable, marked }) {
  // A chart the companion draws, of a kind (the sky's or the map's), in its place once the worker
  // has drawn it, or what it said instead; meanwhile the figure shown is marked as being redrawn.
  // One asked for again as it was last (a press that changed none of its values) is left to the
  // run under way or the figure shown. A `sketch` is shown only until the figure it stands for.
  const drawn = new Map(); // by kind, the command last asked for
  function showFigure(box, kind, args, label, sketch = null) {
    if (!usable()) {
      drawn.delete(kind);
      placeWhy(box, marked);
      return;
    }
    const chart = [`--chart-width=${width()}`, '--chart', 'chart.svg'];
    const command = [...args, ...chart];
    const key = command.join(' ');
    if (drawn.get(kind) === key) return;
    drawn.set(kind, key);
    markDrawing(box);
    if (sketch !== null) {
      ask(`${kind}-sketch`, [...sketch, ...chart]).then((run) => {
        if (run?.status !== 0 || drawn.get(kind) !== key || box.getAttribute('aria-busy') === null)
          return;
        follow(kind, () => {
          placeFigure(box, run.svg, label);
          markDrawing(box);
        });
      });
    }
    ask(kind, command).then((run) => {
      if (run === null) return; // overtaken
      if (run.status === -1) drawn.delete(kind); // the core stopped: asked again, it runs again
      follow(kind, () => {
        if (run.status !== 0 || run.svg === '') placeWhy(box, saidInstead(run));
        else placeFigure(box, run.svg, label);
      });
    });
  }
  // A kind's figure is asked for afresh next time, as one shown otherwise (by its why).
  const forget = (kind) => drawn.delete(kind);
  return { showFigure, forget };
}
