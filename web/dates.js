// The date box and what it gives: today where a place is taken with no date, and, while a date
// gives Deg from Winter Solstice, a line under that box that says so; typing an angle clears the
// date.
const $ = (id) => document.getElementById(id);

// Today's date in the date box, where it has none.
export function dateTodayIfNone() {
  if ($('date').value !== '') return;
  const today = new Date();
  $('date').value = [today.getFullYear(), today.getMonth() + 1, today.getDate()]
    .map((n, i) => String(n).padStart(i === 0 ? 4 : 2, '0'))
    .join('-');
}

// Shows (or, given '', hides) the line saying the angle box's value comes from the date.
export function makeFromDate(alpha) {
  function showFromDate(date) {
    const line = $('from-date');
    line.hidden = date === '';
    line.textContent =
      date === ''
        ? ''
        : `Deg from Winter Solstice comes from the date ${date}; typing an angle clears the date.`;
    const described = (alpha.getAttribute('aria-describedby') ?? '')
      .split(' ')
      .filter((id) => id !== '' && id !== 'from-date');
    if (date !== '') described.push('from-date');
    if (described.length > 0) alpha.setAttribute('aria-describedby', described.join(' '));
    else alpha.removeAttribute('aria-describedby');
  }
  alpha.addEventListener('input', () => {
    if ($('date').value === '') return;
    $('date').value = '';
    showFromDate('');
  });
  return showFromDate;
}
