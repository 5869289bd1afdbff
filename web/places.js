// The place box: a town or city by the beginning of its name, suggested as it is typed (the ARIA
// combobox pattern: the arrow keys move through the suggestions, Enter takes one, Escape closes
// them), from the places file, fetched the first time the box is used and kept by the service
// worker. The core finds them; a place taken is handed on, {name, words, latitude, longitude,
// timeZone}, and said.
const $ = (id) => document.getElementById(id);
const kShown = 8;

// The places file, fetched once and handed to the core; asked for again after a failure.
function makePlacesFile(core) {
  let loading = null;
  return function load() {
    loading ??= fetch('places.txt')
      .then((response) => {
        if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
        return response.text();
      })
      .then((text) => {
        if (!core.loadPlaces(text)) throw new Error('the file is not one of places');
      });
    loading.catch(() => {
      loading = null; // asked for again at the next key
    });
    return loading;
  };
}

// The list under a combobox: its options shown, one marked by the arrow keys, one taken by
// Enter or a click (`take(index)`), closed by Escape or on leaving the box; ArrowDown on a closed
// list asks for it (`ask()`).
function makeListbox(box, list, { take, ask }) {
  let count = 0;
  let active = -1;
  function close() {
    list.hidden = true;
    box.setAttribute('aria-expanded', 'false');
    box.removeAttribute('aria-activedescendant');
    active = -1;
  }
  function mark(index) {
    active = index;
    for (const [i, option] of [...list.children].entries())
      option.setAttribute('aria-selected', String(i === active));
    if (active < 0) box.removeAttribute('aria-activedescendant');
    else box.setAttribute('aria-activedescendant', `place-${active}`);
  }
  function show(words) {
    count = words.length;
    list.replaceChildren(
      ...words.map((text, i) => {
        const option = document.createElement('li');
        option.id = `place-${i}`;
        option.setAttribute('role', 'option');
        option.textContent = text;
        option.addEventListener('mousedown', (event) => {
          event.preventDefault(); // the box keeps the focus
          take(i);
        });
        return option;
      }),
    );
    mark(-1);
    list.hidden = count === 0;
    box.setAttribute('aria-expanded', String(count > 0));
  }
  box.addEventListener('blur', close);
  box.addEventListener('keydown', (event) => {
    const open = !list.hidden;
    if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
      event.preventDefault();
      if (!open) {
        ask();
        return;
      }
      const next = active + (event.key === 'ArrowDown' ? 1 : -1);
      mark(next >= count ? 0 : next < 0 ? count - 1 : next);
    } else if (event.key === 'Enter' && open) {
      event.preventDefault();
      take(active < 0 ? 0 : active);
    } else if (event.key === 'Escape' && open) {
      event.preventDefault();
      close();
    }
  });
  return { show, close };
}

// What the status line says of the places found for a query.
function foundWords(query, found, shown) {
  if (found.count === 0) {
    const nearest = found.nearest.length > 0 ? `: try ${found.nearest.join(', ')}` : '';
    return `No place's name begins with ${query}${nearest}.`;
  }
  const more = found.count > shown ? `, the first ${shown} shown` : '';
  return `${found.count} ${found.count === 1 ? 'place matches' : 'places match'}${more}.`;
}

export function makePlaceBox(core, take) {
  const box = $('place');
  const status = $('place-status');
  const load = makePlacesFile(core);
  let shown = [];
  const list = makeListbox(box, $('place-list'), { take: choose, ask: suggest });

  function choose(index) {
    const place = shown[index];
    if (place === undefined) return;
    box.value = place.words;
    list.close();
    status.textContent = `Taken: ${place.words}`;
    take(place);
  }

  // The places file, or false where it could not be had (and the status says why).
  async function loaded() {
    try {
      await load();
      return true;
    } catch (error) {
      status.textContent = `The places could not be loaded (${error.message}).`;
      return false;
    }
  }

  // The places that begin with what is typed, as soon as the file is there.
  async function suggest() {
    const query = box.value;
    if (query.trim() === '') {
      list.close();
      status.textContent = '';
      return;
    }
    if (!(await loaded()) || box.value !== query) return; // or typed on meanwhile
    const found = core.findPlaces(query, kShown);
    shown = found.places;
    list.show(shown.map((place) => place.words));
    status.textContent = foundWords(query, found, shown.length);
  }
  box.addEventListener('input', suggest);

  // A place the address names: its first match, taken as if chosen.
  async function takeNamed(query) {
    box.value = query;
    if (!(await loaded())) return false;
    const found = core.findPlaces(query, 1);
    if (found.count === 0) {
      status.textContent = `No place's name begins with ${query}.`;
      return false;
    }
    shown = found.places;
    choose(0);
    return true;
  }

  return { takeNamed, name: () => box.value };
}
