#pragma once
// Qt's own texts in Spanish, like the rest of the windows: the buttons of
// its message boxes (Sí / No, Aceptar, Cancelar, Anular, Reintentar, Omitir).

// Loads Qt's translation from the distribution's Qt translations folder, in
// the variant of the system's locale when that is Spanish (es_AR before
// es), and installs it in the running application. False when no Spanish
// translation of Qt is installed: the buttons then stay in English.
bool installSpanishQtTexts();
