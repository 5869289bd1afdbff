// The clock of the dates: a named time zone, the browser's own first and then a chosen place's,
// or a fixed offset from UTC. The browser gives each date's offset; the names of the offsets
// ("CEST") come from a small file made from tzdata, fetched the first time a zone is used.
const $ = (id) => document.getElementById(id);

export function makeClock(core) {
  const select = $('time-zone');
  const fixed = select.querySelector('option[value=""]');
  let names = null; // the names' fetch, once begun
  let named = false; // the names are in the core, or could not be had

  // A zone among the choices, before the fixed offset.
  function offer(zone, label = zone) {
    if ([...select.options].some((o) => o.value === zone)) return;
    const option = document.createElement('option');
    option.value = zone;
    option.textContent = label;
    select.insertBefore(option, fixed);
  }
  const own = Intl.DateTimeFormat().resolvedOptions().timeZone;
  if (own) {
    offer(own, `your clock (${own})`);
    select.value = own;
  }
  // The offset box goes with the fixed offset alone.
  const showOffset = () => {
    for (const id of ['utc-offset', 'utc-offset-label']) $(id).hidden = select.value !== '';
  };
  select.addEventListener('change', showOffset);
  showOffset();

  return {
    // The options of daylight-cli sky that give the clock.
    args: () =>
      select.value === ''
        ? [`--utc-offset=${$('utc-offset').value}`]
        : [`--time-zone=${select.value}`],
    // A zone chosen (a place's, or the address's); none is the fixed offset.
    choose(zone) {
      if (zone !== '') offer(zone);
      select.value = zone;
      showOffset();
    },
    zone: () => select.value,
    // Whether a run on the clock now names its offsets as the companion does.
    ready: () => select.value === '' || named,
    load() {
      names ??= fetch('zone-names.txt')
        .then((response) => (response.ok ? response.text() : ''))
        .then(
          (text) => core.setZoneNames(text),
          () => {},
        )
        .then(() => {
          named = true;
        });
      return names;
    },
  };
}
