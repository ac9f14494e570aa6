// A program that is only there for its version resource.
int main() {
    return 0;
}
