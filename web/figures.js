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
