#pragma once
// Window set-up after start-up: the system icon named in the INI file, from
// the program's resources or else from the file "velmora.ico".

class QWidget;
class Session;

// Sets window's icon: the resource named by "IconoDelSistema" of section
// "Iconos" in "CN000pr.INI" (default "ICONVELMORAMC"); when there is no such
// resource, the file "velmora.ico" of the program folder. Nothing fails: a
// missing INI, resource or file leaves the icon unset. Then yields to the
// window system once.
void PreparaVentana(QWidget &window, Session &session);
