// eslint for the page's modules, the service worker and the browser test: no undeclared or
// unused names, no globals of our own, strict equality. Run by scripts/web test.
const browser = Object.fromEntries(
  [
    'window',
    'document',
    'navigator',
    'location',
    'history',
    'performance',
    'requestAnimationFrame',
    'setTimeout',
    'clearTimeout',
    'Worker',
    'URL',
    'URLSearchParams',
    'DOMParser',
    'Blob',
    'console',
    'self',
    'caches',
    'fetch',
    'Request',
    'Response',
    'Headers',
    'innerWidth',
    'MutationObserver',
    'Event',
  ].map((name) => [name, 'readonly']),
);
const node = Object.fromEntries(
  ['process', 'console', 'Buffer', 'URL', 'URLSearchParams', 'setTimeout'].map((name) => [
    name,
    'readonly',
  ]),
);
const rules = {
  'no-undef': 'error',
  'no-unused-vars': ['error', { caughtErrors: 'none' }],
  'no-implicit-globals': 'error',
  'prefer-const': 'error',
  'no-var': 'error',
  eqeqeq: 'error',
  'no-eval': 'error',
  'no-implied-eval': 'error',
  'no-new-func': 'error',
  'no-shadow': 'error',
  'no-use-before-define': ['error', { functions: false }],
};

export default [
  { files: ['*.js'], languageOptions: { sourceType: 'module', globals: browser }, rules },
  { files: ['sw.js'], languageOptions: { sourceType: 'script', globals: browser }, rules },
  {
    files: ['tests/*.mjs'],
    languageOptions: { sourceType: 'module', globals: { ...node, ...browser } },
    rules,
  },
];
