// Program entry: runs the main window until it closes (see Main).
int main() {
    return 0;
}
