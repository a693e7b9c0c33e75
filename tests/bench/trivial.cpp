// A Windows program that does nothing: the baseline for the whole-run
// timing of vomurel.exe under Wine (scripts/bench.sh).
int main() { return 0; }
