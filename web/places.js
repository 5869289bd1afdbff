// The place box: a town or city by the beginning of its name, suggested as it is typed (the ARIA
// combobox pattern: the arrow keys move through the suggestions, Enter takes one, Escape closes
// them), from the places file, fetched the first time the box is used and kept by the service
// worker. The core finds them; a place taken is handed on, {name, words, latitude, longitude,
// timeZone}, and said.
const $ = (id) => document.getElementById(id);
const kShown = 8;

export function makePlaceBox(core, take) {
  const box = $('place');
  const list = $('place-list');
  const status = $('place-status');
  let loading = null; // the places file, once asked for
  let shown = [];
  let active = -1;

  function load() {
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
  }

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

  function choose(index) {
    const place = shown[index];
    if (place === undefined) return;
    box.value = place.words;
    close();
    status.textContent = `Taken: ${place.words}`;
    take(place);
  }

  // The places that begin with what is typed, as soon as the file is there.
  async function suggest() {
    const query = box.value;
    if (query.trim() === '') {
      close();
      status.textContent = '';
      return;
    }
    try {
      await load();
    } catch (error) {
      status.textContent = `The places could not be loaded (${error.message}).`;
      return;
    }
    if (box.value !== query) return; // typed on meanwhile
    const found = core.findPlaces(query, kShown);
    shown = found.places;
    list.replaceChildren(
      ...shown.map((place, i) => {
        const option = document.createElement('li');
        option.id = `place-${i}`;
        option.setAttribute('role', 'option');
        option.textContent = place.words;
        option.addEventListener('mousedown', (event) => {
          event.preventDefault(); // the box keeps the focus
          choose(i);
        });
        return option;
      }),
    );
    mark(-1);
    list.hidden = shown.length === 0;
    box.setAttribute('aria-expanded', String(shown.length > 0));
    const more = found.count > shown.length ? `, the first ${shown.length} shown` : '';
    status.textContent =
      found.count === 0
        ? `No place's name begins with ${query}${
            found.nearest.length > 0 ? `: try ${found.nearest.join(', ')}` : ''
          }.`
        : `${found.count} ${found.count === 1 ? 'place matches' : 'places match'}${more}.`;
  }

  box.addEventListener('input', suggest);
  box.addEventListener('blur', close);
  box.addEventListener('keydown', (event) => {
    const open = !list.hidden;
    if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
      event.preventDefault();
      if (!open) {
        suggest();
        return;
      }
      const next = active + (event.key === 'ArrowDown' ? 1 : -1);
      mark(next >= shown.length ? 0 : next < 0 ? shown.length - 1 : next);
    } else if (event.key === 'Enter' && open) {
      event.preventDefault();
      choose(active < 0 ? 0 : active);
    } else if (event.key === 'Escape' && open) {
      event.preventDefault();
      close();
    }
  });

  // A place the address names: its first match, taken as if chosen.
  async function takeNamed(query) {
    box.value = query;
    try {
      await load();
    } catch (error) {
      status.textContent = `The places could not be loaded (${error.message}).`;
      return false;
    }
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
