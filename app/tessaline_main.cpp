#include <QApplication>

// The application object takes over start-up once it exists; until then
// the program starts its Qt application and ends cleanly.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Korrinworks Inc.");
    QApplication::setApplicationName("Tessaline");
    return 0;
}
