#include "run/exitcodes.h"

QString exitCodeTable()
{
    return QStringLiteral(
        "  0   la actualización terminó y no quedó nada afuera\n"
        "  3   la actualización terminó, pero quedaron registros afuera (nombrados en el registro y el informe)\n"
        "  1   la actualización no terminó (abandonada tras un error, cancelada, detenida por una señal, conexión "
        "perdida)\n"
        "  2   no se pudo abrir la base de datos de Orva (falta, no es una base de datos, rechazada)\n"
        " 64   error en la línea de órdenes\n"
        " 75   otra ejecución tiene el bloqueo\n");
}
