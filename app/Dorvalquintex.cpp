// Placeholder entry point until the application shell exists.
int main() { return 0; }
