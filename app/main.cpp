// pagly: a talking textbook. The entry point arrives with the application layer.
int main() { return 0; }
