// Must not compile: core code may not use Qt.
#include <QtCore/QString>
int probe() { return 0; }
