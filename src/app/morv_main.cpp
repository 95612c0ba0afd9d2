// morv: the modeller.
int main() { return 0; }
