// The page around the core: it builds the calculator's face from the core's own table, sends the
// boxes' texts to the core on each press and shows the texts it gets back. No number is worked
// out here; the chart is the core's own figure, shown as it comes.
'use strict';

(() => {
  const loaded = performance.now();
  const $ = (id) => document.getElementById(id);
  // A length in the face's twips: --twip is the form's em over 240, the window's 15 twips to
  // the pixel at a 16 pixel em.
  const em = (twips) => `calc(var(--twip) * ${twips})`;
  const kLongestParameter = 1000;
  const kLongestKeyShown = 24;
  const kNamedInTheNote = 3;
  // The longest text a box takes, as in the window.
  const kLongestBoxText = 32767;
  // The sky's own values, each a control of that id and an option of daylight-cli sky.
  const kSkyControls = ['eccentricity', 'perihelion', 'horizon'];
  // The Earth on a date at a place, also carried by the address.
  const kDateControls = ['date', 'longitude', 'utc-offset'];
  const kSkyDefaults = { eccentricity: '0', perihelion: '0', horizon: 'sunrise' };

  // The face: frames, boxes, results, the button and the rule, placed as in the window. Frames
  // go into the page in the order of the first focusable thing they hold, so that Tab goes
  // through the boxes in the window's order.
  function buildFace(face) {
    const form = $('Form1');
    form.style.width = em(face.width);
    form.style.height = em(face.height);
    const byName = new Map(face.controls.map((c) => [c.name, c]));
    const firstTab = (c) => Math.min(
      ...face.controls.filter((d) => d.name === c.name || d.container === c.name)
        .filter((d) => d.kind === 'textbox' || d.kind === 'button').map((d) => d.tabIndex),
      1000 + c.tabIndex);
    const placed = new Map([['Form1', form]]);
    const order = [...face.controls].sort((a, b) => {
      const depth = (c) => (c.container === 'Form1' ? 0 : 1);
      return depth(a) - depth(b) || firstTab(a) - firstTab(b);
    });
    const boxes = [];
    for (const c of order) {
      let element;
      if (c.kind === 'frame') {
        element = document.createElement('fieldset');
        element.className = 'frame';
        const legend = document.createElement('legend');
        legend.textContent = c.caption;
        element.append(legend);
      } else if (c.kind === 'textbox') {
        element = document.createElement('input');
        element.value = c.caption;
        element.autocomplete = 'off';
        element.maxLength = kLongestBoxText;
        element.spellcheck = false;
        element.setAttribute('aria-label', byName.get(c.container).caption);
        boxes.push({ element, field: c.field, option: c.option, caption: byName.get(c.container).caption });
      } else if (c.kind === 'label') {
        element = document.createElement('output');
        element.setAttribute('aria-label', byName.get(c.container).caption);
      } else {
        element = document.createElement('button');
        element.type = 'button';
        element.textContent = c.caption;
      }
      element.id = c.name;
      if (c.tip) element.title = c.tip;
      Object.assign(element.style, {
        left: em(c.left), top: em(c.top), width: em(c.width), height: em(c.height),
      });
      placed.get(c.container).append(element);
      placed.set(c.name, element);
    }
    for (const l of face.lines) {
      const rule = document.createElement('div');
      rule.className = 'rule';
      rule.id = l.name;
      rule.setAttribute('aria-hidden', 'true');
      Object.assign(rule.style, {
        left: em(Math.min(l.x1, l.x2)), top: em(Math.min(l.y1, l.y2)),
        width: `calc(${em(Math.abs(l.x2 - l.x1))} + 2px)`,
        height: `calc(${em(Math.abs(l.y2 - l.y1))} + 2px)`,
      });
      form.append(rule);
    }
    fitCaptions(form);
    // The results in the window's order, which Copy All lists.
    const results = face.resultsInOrder
      .map((name) => ({ element: $(name), caption: byName.get(byName.get(name).container).caption }));
    return { boxes, results, face };
  }

  // A caption that would not fit its frame whole is set smaller, as in the window.
  function fitCaptions(form) {
    for (const legend of form.querySelectorAll('legend')) {
      const room = legend.parentElement.clientWidth - 16;
      for (let size = 0.8; legend.offsetWidth > room && size > 0.5; size -= 0.025) {
        legend.style.fontSize = `${size}em`;
      }
    }
  }

  // Characters no note repeats: controls, and those that turn the direction of text.
  const unprintable = /[\u0000-\u001f\u007f-\u009f\u200e\u200f\u202a-\u202e\u2066-\u2069]/;

  // A parameter's name as a note shows it: quoted, cut short, and never unprintable.
  function shownKey(key) {
    if (unprintable.test(key)) return 'a name with control characters';
    const cut = [...key];
    return `“${cut.length > kLongestKeyShown ? `${cut.slice(0, kLongestKeyShown).join('')}…` : key}”`;
  }

  // The address's values: the known fields, each once, of a reasonable length and without
  // control characters; everything else is named in a short note (the first few, the rest
  // counted) and left alone.
  function readAddress(boxes) {
    const fields = new Set([...boxes.map((b) => b.field), 'planet', ...kSkyControls, ...kDateControls]);
    const taken = new Map();
    const ignored = [];
    for (const [key, value] of new URLSearchParams(location.search)) {
      if (!fields.has(key)) ignored.push(`${shownKey(key)} (not a value of this calculator)`);
      else if (taken.has(key)) ignored.push(`${key} (given twice; the first is used)`);
      else if (value.length > kLongestParameter) ignored.push(`${key} (too long)`);
      else if (unprintable.test(value)) ignored.push(`${key} (control characters)`);
      else taken.set(key, value);
    }
    const note = $('note');
    if (ignored.length > 0) {
      // One short line, which opens to name them.
      const named = ignored.slice(0, kNamedInTheNote).join(', ');
      const more = ignored.length - kNamedInTheNote;
      const details = document.createElement('details');
      const summary = document.createElement('summary');
      summary.textContent = `Left out of the address: ${ignored.length.toLocaleString('en')} ${
        ignored.length === 1 ? 'value' : 'values'}`;
      const list = document.createElement('p');
      list.textContent = `${named}${more > 0 ? `, and ${more.toLocaleString('en')} more` : ''}.`;
      details.append(summary, list);
      note.replaceChildren(details);
      note.hidden = false;
    }
    return taken;
  }

  function start(core) {
    const { boxes, results, face } = buildFace(core.face());
    const button = $('Command1');
    const report = $('report');
    const notes = $('notes');
    const copy = $('copy');
    const link = $('link');
    const announce = $('announce');
    const picker = $('planet');
    let firstResult = null;

    const texts = () => Object.fromEntries(boxes.map((b) => [b.field, b.element.value]));

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
        const b = boxes.find((box) => box.field === n.field);
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

    // Puts the values a hint offers into their boxes and presses again.
    function useTries(tries) {
      for (const [field, text] of Object.entries(tries)) {
        const b = boxes.find((box) => box.field === field);
        if (b) b.element.value = text;
      }
      press();
    }

    // The report stands beside the first box it names; every box it names is marked.
    function showStop(stop) {
      const named = stop.boxes.map((field) => boxes.find((b) => b.field === field)).filter(Boolean);
      const title = document.createElement('strong');
      title.textContent = `${stop.message}.`;
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
      const top = first ? face.controls.find((c) => c.name === first.element.parentElement.id).top : 0;
      report.style.setProperty('--report-top', em(top));
      report.hidden = false;
      announce.textContent = `${stop.message}. ${words}`;
      if (first) first.element.focus();
    }

    // One size for all the values of a press: the largest at which each fits whole.
    function fitValues() {
      let size = 1;
      const fits = () => results.every((r) => r.element.scrollWidth <= r.element.clientWidth);
      for (const r of results) r.element.style.fontSize = '';
      while (!fits() && size > 0.55) {
        size -= 0.05;
        for (const r of results) r.element.style.fontSize = `${size}em`;
      }
    }

    function press() {
      for (const r of results) r.element.textContent = '';  // emptied at each press
      clearReport();
      const values = texts();
      const answer = core.compute(values);
      showNotes(answer.notes);
      if (answer.stop) {
        showStop(answer.stop);
        copy.disabled = true;
      } else {
        for (const r of results) r.element.textContent = answer.results[r.element.id];
        fitValues();
        copy.disabled = false;
        announce.textContent = results.filter((r) => r.element.textContent !== '')
          .map((r) => `${r.caption}: ${r.element.textContent}`).join(', ');
        if (firstResult === null) {
          firstResult = performance.now() - loaded;
          document.body.dataset.firstResultMs = firstResult.toFixed(1);
        }
      }
      const sky = Object.fromEntries(kSkyControls.map((id) => [id, $(id).value])
        .filter(([id, v]) => v !== kSkyDefaults[id] || picker.value));
      const date = Object.fromEntries(kDateControls.map((id) => [id, $(id).value])
        .filter(([, v]) => $('date').value !== '' && v !== ''));
      const address = new URLSearchParams({ ...(picker.value ? { planet: picker.value } : {}), ...values, ...sky, ...date });
      history.replaceState(null, '', `?${address}`);
      link.href = location.href;
      drawChart(core.chart(values));
      placeSliders();
      showSky();
      if ($('downloads').open) fillDownloads();
    }

    // The downloads: what daylight-cli writes for the same values, made by the same C++ when
    // the list is opened and at each press while it is open. Each link keeps the command line
    // it stands for.
    const downloads = [];
    function buildDownloads() {
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
      $('downloads').addEventListener('toggle', () => { if ($('downloads').open) fillDownloads(); });
      for (const id of kSkyControls) {
        $(id).addEventListener('change', () => { if ($('downloads').open) fillDownloads(); });
      }
    }
    // The command lines of daylight-cli for the year, the sky and the map of the values now.
    function commandsNow() {
      const planet = picker.value ? ['--planet', picker.value] : [];
      const valuesOf = (skip) => boxes.filter((b) => b.field !== 'from_solstice' && b.field !== skip)
        .map((b) => `${b.option}=${b.element.value}`);
      const sky = kSkyControls.map((id) => `--${id}=${$(id).value}`);
      return {
        year: ['year', ...planet, ...valuesOf()],
        sky: ['sky', ...planet, ...valuesOf(), ...sky],
        map: ['sky', '--map', ...planet, ...valuesOf('latitude'), ...sky],
      };
    }

    // A chart the companion draws, in its place, or what it said instead.
    function showFigure(box, args, label) {
      const run = core.run([...args, '--chart', 'chart.svg']);
      if (run.status !== 0 || run.svg === '') {
        const why = document.createElement('p');
        why.className = 'no-year';
        why.textContent = run.err.replace(/^daylight-cli: /gm, '').trim();
        box.replaceChildren(why);
        return;
      }
      placeFigure(box, run.svg, label);
    }

    // The sky's chart follows every press; the map, slower to make, is drawn when asked for.
    function showSky() {
      showFigure($('sky-chart'), commandsNow().sky, 'The sky through the year: daylight, the three twilights and the night');
      $('map').replaceChildren();
      $('draw-map').hidden = false;
    }
    $('draw-map').addEventListener('click', () => {
      showFigure($('map'), commandsNow().map, 'Daylight at every latitude through the year');
      $('draw-map').hidden = true;
    });
    for (const id of kSkyControls) $(id).addEventListener('change', showSky);

    // A date on the Earth: the solar day around its noon at the place, as daylight-cli sky
    // --date gives it, and the degrees past the winter solstice it is, which go into Deg from
    // Winter Solstice.
    function showDate() {
      const line = $('date-day');
      if ($('date').value === '') {
        line.textContent = '';
        return;
      }
      const latitude = boxes.find((b) => b.field === 'latitude').element.value;
      const run = core.run(['sky', `--latitude=${latitude}`, `--longitude=${$('longitude').value}`,
        `--utc-offset=${$('utc-offset').value}`, `--date=${$('date').value}`, '--json']);
      if (run.status !== 0) {
        line.textContent = run.err.replace(/^daylight-cli: /gm, '').trim();
        return;
      }
      const row = JSON.parse(run.out).rows[0];
      const times = row.sun === 'rises'
        ? `sunrise ${row.sunrise}, noon ${row.noon}, sunset ${row.sunset} hours on the clock`
        : `no sunrise or sunset (${row.sun}), noon ${row.noon} hours on the clock`;
      line.textContent = `${row.date} is ${row.orbit_angle}° past the winter solstice: daylight `
        + `${row.daylight} hours, civil twilight ${row.civil}, nautical ${row.nautical}, `
        + `astronomical ${row.astronomical}; ${times}.`;
      const chosen = boxes.find((b) => b.field === 'from_solstice').element;
      if (chosen.value !== row.orbit_angle) {
        chosen.value = row.orbit_angle;
        press();
      }
    }
    for (const id of ['date', 'longitude', 'utc-offset']) $(id).addEventListener('change', showDate);

    // Sliders for the tilt, the latitude and the eccentricity. While one moves, each animation
    // frame shows the results and the chart it touches (the year's, or the sky's); where it is
    // let go, the whole press follows. The work of each frame is kept for the browser test.
    const frameWork = [];
    let pending = null;
    function follow(update) {
      if (pending === null) {
        requestAnimationFrame(() => {
          const started = performance.now();
          pending();
          pending = null;
          frameWork.push(performance.now() - started);
          document.body.dataset.frameWork = frameWork.slice(-120).map((t) => t.toFixed(1)).join(' ');
        });
      }
      pending = update;
    }
    const sliders = [
      { slider: $('tilt-slider'), box: () => boxes.find((b) => b.field === 'tilt').element },
      { slider: $('latitude-slider'), box: () => boxes.find((b) => b.field === 'latitude').element },
      { slider: $('eccentricity-slider'), box: () => $('eccentricity'), sky: true },
    ];
    for (const { slider, box, sky } of sliders) {
      slider.addEventListener('input', () => {
        box().value = slider.value;
        keepPlanet();
        follow(sky ? () => showFigure($('sky-chart'), commandsNow().sky, 'The sky through the year')
          : () => {
            const answer = core.compute(texts());
            for (const r of results) r.element.textContent = answer.stop ? '' : answer.results[r.element.id];
            drawChart(core.chart(texts()));
          });
      });
      slider.addEventListener('change', press);
    }
    // The sliders stand where the boxes' numbers put them, as far as they reach.
    function placeSliders() {
      for (const { slider, box } of sliders) {
        const at = Number(box().value);
        if (box().value.trim() !== '' && Number.isFinite(at)) slider.value = String(at);
      }
    }

    function fillDownloads() {
      const commands = commandsNow();
      const types = { csv: 'text/csv', json: 'application/json', svg: 'image/svg+xml' };
      for (const { a, table, form } of downloads) {
        // The year's chart marks the chosen day, as the one above does.
        const chosen = boxes.find((b) => b.field === 'from_solstice').element.value;
        const mark = table === 'year' && form === 'svg' ? [`--mark=${chosen}`] : [];
        const extra = { csv: [], json: ['--json'], svg: [...mark, '--chart', a.download] }[form];
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
          a.title = run.err.replace(/^daylight-cli: /gm, '').trim();
        }
      }
    }

    copy.addEventListener('click', async () => {
      const lines = results.map((r) => `${r.caption}\t${r.element.textContent}`).join('\n');
      try {
        await navigator.clipboard.writeText(`${lines}\n`);
        copy.textContent = 'Copied';
      } catch {
        copy.textContent = 'Select the values to copy them';
      }
      setTimeout(() => { copy.textContent = 'Copy all results'; }, 2000);
    });
    button.addEventListener('click', press);
    button.disabled = false;
    link.href = location.href;

    // The planets: choosing one fills its boxes and presses; changing one of them by hand makes
    // the planet your own again.
    const planets = core.planets();
    for (const p of planets) {
      const option = document.createElement('option');
      option.value = p.name;
      option.textContent = p.name[0].toUpperCase() + p.name.slice(1);
      picker.append(option);
    }
    const fill = (name) => {
      const planet = planets.find((p) => p.name === name.toLowerCase());
      picker.value = planet ? planet.name : '';
      if (!planet) return;
      for (const b of boxes) if (b.field in planet.texts) b.element.value = planet.texts[b.field];
      $('eccentricity').value = planet.eccentricity;
      $('perihelion').value = planet.perihelion;
    };
    // The planet stays chosen while its boxes hold its texts.
    const keepPlanet = () => {
      const planet = planets.find((p) => p.name === picker.value);
      if (planet && boxes.some((b) => b.field in planet.texts && b.element.value !== planet.texts[b.field])) {
        picker.value = '';
      }
    };
    picker.addEventListener('change', () => { fill(picker.value); press(); });
    for (const b of boxes) b.element.addEventListener('input', keepPlanet);

    const given = readAddress(boxes);
    if (given.has('planet')) fill(given.get('planet'));
    for (const b of boxes) if (given.has(b.field)) b.element.value = given.get(b.field);
    for (const id of [...kSkyControls, ...kDateControls]) if (given.has(id)) $(id).value = given.get(id);
    keepPlanet();
    buildDownloads();
    if (given.size > 0) {
      press();
      showDate();
    } else {
      drawChart(core.chart(texts()));
      showSky();
      boxes[0].element.focus();
      boxes[0].element.select();  // typing replaces the starting text, as in the window
    }
  }

  // The chart: the figure the core draws, the same SVG daylight-cli year --chart writes; or why
  // there is no year, and what to change, in words that wrap.
  function drawChart(chart) {
    const box = $('chart'), download = $('chart-svg');
    download.hidden = Boolean(chart.stop);
    if (chart.stop) {
      download.removeAttribute('href');
      const why = document.createElement('p');
      why.className = 'no-year';
      why.textContent = `No year to draw. ${chart.stop.cause} ${chart.stop.hint}`;
      box.replaceChildren(why);
      return;
    }
    placeFigure(box, chart.svg, 'Daylight through the year, with the twilights and the polar day and night');
    download.href = `data:image/svg+xml;charset=utf-8,${encodeURIComponent(chart.svg)}`;
  }

  // A figure of the core's into its box, named for a screen reader.
  function placeFigure(box, svg, label) {
    const figure = new DOMParser().parseFromString(svg, 'image/svg+xml').documentElement;
    figure.setAttribute('role', 'img');
    figure.setAttribute('aria-label', label);
    box.replaceChildren(document.importNode(figure, true));
  }

  function failed(reason) {
    const note = $('note');
    note.textContent = `The calculator could not start: ${reason}`;
    note.hidden = false;
  }

  // Installed, the page works with no network: a service worker keeps a copy of the site.
  if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }

  if (typeof DaylightCore !== 'function') {
    failed('its WebAssembly script did not load.');
    return;
  }
  DaylightCore().then(start, (error) => failed(String(error)));
})();
