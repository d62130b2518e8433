#include "app/usage.h"
#include "run/exitcodes.h"

#ifndef TRASPASOR_VERSION
#error "TRASPASOR_VERSION comes from the CMake project version"
#endif

QString versionText()
{
    return QStringLiteral("Traspasor KTZ " TRASPASOR_VERSION);
}

QString usageLine()
{
    return QStringLiteral(
        "Uso: traspasor \"@Nombre=valor;...\" | --demo CARPETA [--force] [opciones] | --help | --version");
}

QString helpText(const QString &programFolder)
{
    return versionText()
        + QStringLiteral(
               ": copia los datos del día de KTZ a la base de datos de Orva.\n"
               "\n"
               "Uso:\n"
               "  traspasor \"@DbName=orva.db;\"                                   la ventana principal (necesita "
               "pantalla)\n"
               "  traspasor \"@ParametroAdicional=DesdeTimer;@DbName=orva.db;\"    una ejecución desatendida (sin "
               "pantalla)\n"
               "  traspasor \"@ParametroAdicional=Conciliar;@DbName=orva.db;\"     la conciliación KTZ - Orva (sólo "
               "lee)\n"
               "  traspasor --demo CARPETA [--force] [opciones]                  crea las bases de demostración\n"
               "  traspasor --help | -h                                          esta ayuda\n"
               "  traspasor --version                                            la versión\n"
               "\n"
               "Entradas de la línea de órdenes, cada una \"@Nombre=valor;\" (con su \";\" final):\n"
               "  @DbName=...                 la base de datos de Orva; sin @Server, un archivo SQLite\n"
               "  @Server=... @Usuario=... @Password=...\n"
               "                              un servidor de Orva (ajustes en SharedServices.ini, ver abajo)\n"
               "  @ParametroAdicional=DesdeTimer\n"
               "                              ejecución desatendida: los cuatro tipos, sin ventanas ni preguntas\n"
               "  @Datos=Articulos,Clientes,Ventas,Remitos\n"
               "                              (desatendida) sólo esos tipos de datos\n"
               "  @Informe=ARCHIVO            (desatendida) el informe de la ejecución en JSON\n"
               "  @Desde=... @Hasta=...       el intervalo de fechas de la conciliación "
               "(@ParametroAdicional=Conciliar)\n"
               "  @Progreso=SI|NO             (desatendida) las líneas de avance en la salida de errores; sin\n"
               "                              esta entrada, sólo cuando esa salida es una terminal\n"
               "  @Caja=N                     la caja de los movimientos de stock (1 si falta)\n"
               "  @Menu=... @UsuarioLogeado=...  aceptadas, sin uso en esta herramienta\n"
               "  Una entrada desconocida se informa y la ejecución sigue; una a una letra de una conocida\n"
               "  (@Dato, @DBNam) es un error de uso (64).\n"
               "\n"
               "Contraseña de Orva: sin @Password, la variable TRASPASOR_ORVA_PASSWORD o, si no está, la primera\n"
               "línea del archivo PasswordFile= de la sección [Orva] de SharedServices.ini (legible sólo por su "
               "dueño).\n"
               "Una sola ejecución por base de Orva: otra sobre la misma base termina con 75.\n"
               "\n"
               "Opciones de --demo (escribe orva.db, ktz.db y ktz2.db en CARPETA):\n"
               "  --force                     reemplaza las bases que ya existen en CARPETA\n"
               "  --ktz-firebird SERVIDOR:CARPETA   también las bases KTZ en un servidor Firebird\n"
               "  --ktz-charset CS[,CS2]      juego de caracteres de cada una: UTF8, WIN1252 o NONE\n"
               "  --ktz-user USUARIO  --ktz-password CLAVE\n"
               "  --orva-postgresql SERVIDOR[:PUERTO]/BASE   también Orva en un servidor PostgreSQL (se crea de "
               "nuevo)\n"
               "  --orva-user USUARIO  --orva-password CLAVE\n"
               "\n"
               "Códigos de salida:\n")
        + exitCodeTable()
        + QStringLiteral(
              "\n"
              "Archivos:\n"
              "  carpeta del programa        la del ejecutable si se puede escribir en ella, si no la carpeta de\n"
              "                              datos del usuario; TRASPASOR_PROGRAM_FOLDER la cambia. Ahora: %1\n"
              "  traspasor.log               el registro, en la carpeta del programa; a los 5 MB pasa a\n"
              "                              traspasor.log.1 (y éste a .2) antes de una ejecución\n"
              "  consultas.qdx               las definiciones de consulta, en la carpeta del programa\n"
              "  SharedServices.ini          cómo llegar al servidor de Orva, en la carpeta del programa\n"
              "                              (TRASPASOR_SERVICES_INI nombra otro archivo)\n"
              "  los ajustes de la transferencia (bases KTZ, fechas alcanzadas) viven en la tabla de\n"
              "  configuración de Orva (TA_CONFIGURACION).\n")
              .arg(programFolder);
}
