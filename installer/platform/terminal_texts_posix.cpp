// The terminal front end's own words, in the user's language: the buttons
// and answers of message boxes and of the dialogs' fixed buttons, and every
// text the terminal adds around a question. Texts are UTF-8, as the terminal
// shows them.
#include "system.h"
#include "terminal_posix.h"
#include "hostpath_posix.h"
#include "../base/text.h"
#include <cstring>

namespace {
const TerminalTexts english = {
    "English",
    {{"yes", "Yes", ""}, {"no", "No", ""}, {"ok", "OK", ""}, {"cancel", "Cancel", ""}, {"abort", "Abort", ""},
     {"agree", "Agree", ""}, {"disagree", "Disagree", ""}},
    "Error",
    "Destination",
    "SMTP server",
    "Number (1 to %s)",
    " or ",
    "Enter",
    "-- more: Enter for the next page, q to go to the question -- ",
    "(no terminal: taking the default button, %s)",
    "(no terminal: taking the default answer, %s)",
    "(no terminal, and no answer can be taken without one)",
    "No answer came (the input ended): setup stops, and nothing is taken as an answer.",
    'y', "[Y/n]", "[y/N]", "yes", "no",
    "A restart of the computer was requested to finish the installation: please restart it now.",
    "Choose the destination directory",
    "New directory",
    "Type the folder to install into and press Enter%s.",
    " (Tab completes folder names)",
    "  Enter alone    keeps the destination, or chooses the folder shown",
    "  ls [FOLDER]    lists the folders below FOLDER (or below the folder shown) and shows it",
    "  new NAME       makes the folder NAME below the folder shown (%s)",
    "  cancel         keeps the destination as it was",
    "Folder",
    "The destination stays %s",
    "There is no folder %s",
    "Folders in %s:",
    "Folders in %s: none",
    "There is no folder %s to make it in: go to one with ls first",
    "The folder %s cannot be made",
    "Made %s (Enter chooses it)",
    "(no terminal: taking the default answer, Cancel: the destination stays %s)",
    "cancel",
    "new",
    "Make a choice :",
    "Licence Agreement",
    "Fill in the blank with your SMTP server.",
    "New directory...",
    {},  // the English forms
};

const TerminalTexts french = {
    "French",
    {{"yes", "Oui", ""}, {"no", "Non", ""}, {"ok", "OK", ""}, {"cancel", "Annuler", ""},
     {"abort", "Abandonner", ""}, {"agree", "J'accepte", "accepte"}, {"disagree", "Je refuse", "refuse"}},
    "Erreur",
    "Destination",
    "Serveur SMTP",
    "Numéro (de 1 à %s)",
    " ou ",
    "Entrée",
    "-- suite : Entrée pour la page suivante, q pour aller à la question -- ",
    "(pas de terminal : le bouton par défaut est pris, %s)",
    "(pas de terminal : la réponse par défaut est prise, %s)",
    "(pas de terminal, et aucune réponse ne peut être prise sans lui)",
    "Aucune réponse n'est venue (fin de l'entrée) : l'installation s'arrête, rien n'est pris pour une réponse.",
    'o', "[O/n]", "[o/N]", "oui", "non",
    "Un redémarrage de l'ordinateur a été demandé pour terminer l'installation : redémarrez-le maintenant.",
    "Choisissez le dossier d'installation",
    "Nouveau dossier",
    "Tapez le dossier où installer et appuyez sur Entrée%s.",
    " (Tab complète les noms de dossiers)",
    "  Entrée seule    garde la destination, ou choisit le dossier affiché",
    "  ls [DOSSIER]    liste les dossiers sous DOSSIER (ou sous le dossier affiché) et l'affiche",
    "  nouveau NOM     crée le dossier NOM sous le dossier affiché (%s)",
    "  annuler         garde la destination telle qu'elle était",
    "Dossier",
    "La destination reste %s",
    "Il n'y a pas de dossier %s",
    "Dossiers dans %s :",
    "Dossiers dans %s : aucun",
    "Il n'y a pas de dossier %s où le créer : allez d'abord dans un dossier avec ls",
    "Le dossier %s ne peut pas être créé",
    "%s créé (Entrée le choisit)",
    "(pas de terminal : la réponse par défaut est prise, Annuler : la destination reste %s)",
    "annuler",
    "nouveau",
    "Faites un choix :",
    "Contrat de licence",
    "Indiquez votre serveur SMTP.",
    "Nouveau dossier...",
    {nullptr,
     "\"%s\" n'est pas un nom de dossier : il ne doit être ni vide ni contenir l'un de \" * / : < > ? \\ |",
     "aucun dossier n'est donné",
     "%s est la racine d'un disque : choisissez un dossier sur celui-ci",
     "il n'y a pas de dossier %s",
     "le serveur de messagerie ne peut pas rester vide"},
};

const TerminalTexts german = {
    "German",
    {{"yes", "Ja", ""}, {"no", "Nein", ""}, {"ok", "OK", ""}, {"cancel", "Abbrechen", ""},
     {"abort", "Abbrechen", ""}, {"agree", "Annehmen", ""}, {"disagree", "Ablehnen", ""}},
    "Fehler",
    "Ziel",
    "SMTP-Server",
    "Nummer (1 bis %s)",
    " oder ",
    "Eingabe",
    "-- weiter: Eingabe für die nächste Seite, q für die Frage -- ",
    "(kein Terminal: die Standardschaltfläche wird genommen, %s)",
    "(kein Terminal: die Standardantwort wird genommen, %s)",
    "(kein Terminal, und ohne eines kann keine Antwort genommen werden)",
    "Es kam keine Antwort (Ende der Eingabe): Setup bricht ab, nichts wird als Antwort genommen.",
    'j', "[J/n]", "[j/N]", "ja", "nein",
    "Zum Abschluss der Installation wurde ein Neustart des Computers verlangt: bitte jetzt neu starten.",
    "Zielordner wählen",
    "Neuer Ordner",
    "Geben Sie den Ordner für die Installation ein und drücken Sie Eingabe%s.",
    " (Tab ergänzt Ordnernamen)",
    "  Eingabe allein  behält das Ziel, oder wählt den angezeigten Ordner",
    "  ls [ORDNER]     listet die Ordner unter ORDNER (oder unter dem angezeigten) und zeigt ihn an",
    "  neu NAME        legt den Ordner NAME unter dem angezeigten Ordner an (%s)",
    "  abbrechen       behält das Ziel, wie es war",
    "Ordner",
    "Das Ziel bleibt %s",
    "Es gibt keinen Ordner %s",
    "Ordner in %s:",
    "Ordner in %s: keine",
    "Es gibt keinen Ordner %s, in dem er angelegt werden kann: erst mit ls zu einem wechseln",
    "Der Ordner %s kann nicht angelegt werden",
    "%s angelegt (Eingabe wählt ihn)",
    "(kein Terminal: die Standardantwort wird genommen, Abbrechen: das Ziel bleibt %s)",
    "abbrechen",
    "neu",
    "Bitte wählen:",
    "Lizenzvereinbarung",
    "Geben Sie Ihren SMTP-Server ein.",
    "Neuer Ordner...",
    {nullptr,
     "„%s“ ist kein Ordnername: er darf weder leer sein noch eines dieser Zeichen enthalten: \" * / : < > ? \\ |",
     "kein Ordner angegeben",
     "%s ist das Stammverzeichnis eines Laufwerks: wählen Sie einen Ordner darauf",
     "den Ordner %s gibt es nicht",
     "der SMTP-Server darf nicht leer bleiben"},
};

const TerminalTexts spanish = {
    "Spanish",
    {{"yes", "Sí", "si"}, {"no", "No", ""}, {"ok", "Aceptar", ""}, {"cancel", "Cancelar", ""},
     {"abort", "Anular", ""}, {"agree", "Acepto", ""}, {"disagree", "No acepto", ""}},
    "Error",
    "Destino",
    "Servidor SMTP",
    "Número (de 1 a %s)",
    " o ",
    "Intro",
    "-- más: Intro para la página siguiente, q para ir a la pregunta -- ",
    "(sin terminal: se toma el botón predeterminado, %s)",
    "(sin terminal: se toma la respuesta predeterminada, %s)",
    "(sin terminal, y sin él no se puede tomar ninguna respuesta)",
    "No llegó ninguna respuesta (fin de la entrada): la instalación se detiene y nada se toma como respuesta.",
    's', "[S/n]", "[s/N]", "sí", "no",
    "Se pidió reiniciar el equipo para terminar la instalación: reinícielo ahora.",
    "Elija la carpeta de destino",
    "Nueva carpeta",
    "Escriba la carpeta donde instalar y pulse Intro%s.",
    " (Tab completa los nombres de carpetas)",
    "  Intro solo       conserva el destino, o elige la carpeta mostrada",
    "  ls [CARPETA]     lista las carpetas bajo CARPETA (o bajo la mostrada) y la muestra",
    "  nueva NOMBRE     crea la carpeta NOMBRE bajo la carpeta mostrada (%s)",
    "  cancelar         conserva el destino como estaba",
    "Carpeta",
    "El destino sigue siendo %s",
    "No existe la carpeta %s",
    "Carpetas en %s:",
    "Carpetas en %s: ninguna",
    "No existe la carpeta %s donde crearla: vaya antes a una con ls",
    "La carpeta %s no se puede crear",
    "%s creada (Intro la elige)",
    "(sin terminal: se toma la respuesta predeterminada, Cancelar: el destino sigue siendo %s)",
    "cancelar",
    "nueva",
    "Elija una opción:",
    "Contrato de licencia",
    "Escriba su servidor SMTP.",
    "Nueva carpeta...",
    {nullptr,
     "\"%s\" no es un nombre de carpeta: no puede estar vacío ni contener ninguno de \" * / : < > ? \\ |",
     "no se ha indicado ninguna carpeta",
     "%s es la raíz de una unidad: elija una carpeta en ella",
     "no existe la carpeta %s",
     "el servidor de correo no puede quedar vacío"},
};

const TerminalTexts italian = {
    "Italian",
    {{"yes", "Sì", "si"}, {"no", "No", ""}, {"ok", "OK", ""}, {"cancel", "Annulla", ""},
     {"abort", "Interrompi", ""}, {"agree", "Accetto", ""}, {"disagree", "Non accetto", ""}},
    "Errore",
    "Destinazione",
    "Server SMTP",
    "Numero (da 1 a %s)",
    " o ",
    "Invio",
    "-- altro: Invio per la pagina seguente, q per andare alla domanda -- ",
    "(nessun terminale: si prende il pulsante predefinito, %s)",
    "(nessun terminale: si prende la risposta predefinita, %s)",
    "(nessun terminale, e senza di esso non si può prendere alcuna risposta)",
    "Nessuna risposta è arrivata (fine dell'input): l'installazione si ferma, nulla è preso come risposta.",
    's', "[S/n]", "[s/N]", "sì", "no",
    "È stato chiesto un riavvio del computer per terminare l'installazione: riavviarlo ora.",
    "Scegliere la cartella di destinazione",
    "Nuova cartella",
    "Scrivere la cartella in cui installare e premere Invio%s.",
    " (Tab completa i nomi delle cartelle)",
    "  Invio da solo    mantiene la destinazione, o sceglie la cartella mostrata",
    "  ls [CARTELLA]    elenca le cartelle sotto CARTELLA (o sotto quella mostrata) e la mostra",
    "  nuova NOME       crea la cartella NOME sotto la cartella mostrata (%s)",
    "  annulla          mantiene la destinazione com'era",
    "Cartella",
    "La destinazione resta %s",
    "Non esiste la cartella %s",
    "Cartelle in %s:",
    "Cartelle in %s: nessuna",
    "Non esiste la cartella %s in cui crearla: andare prima in una con ls",
    "La cartella %s non può essere creata",
    "%s creata (Invio la sceglie)",
    "(nessun terminale: si prende la risposta predefinita, Annulla: la destinazione resta %s)",
    "annulla",
    "nuova",
    "Fare una scelta:",
    "Contratto di licenza",
    "Indicare il proprio server SMTP.",
    "Nuova cartella...",
    {nullptr,
     "\"%s\" non è un nome di cartella: non deve essere vuoto né contenere nessuno di \" * / : < > ? \\ |",
     "nessuna cartella indicata",
     "%s è la radice di un'unità: scegliere una cartella al suo interno",
     "la cartella %s non esiste",
     "il server di posta non può restare vuoto"},
};
}  // namespace

const TerminalTexts& terminalTextsFor(unsigned languageId) {
    switch (languageId & 0x3FF) {
    case 7: return german;
    case 10: return spanish;
    case 12: return french;
    case 16: return italian;
    default: return english;
    }
}

const TerminalTexts& terminalTexts() { return terminalTextsFor(platUserLanguage()); }

const TerminalWord* terminalWord(const TerminalTexts& texts, const std::string& word) {
    for (const TerminalWord& w : texts.buttons)
        if (textEqualNoCase(word, std::string(w.word))) return &w;
    return nullptr;
}

std::string terminalButtonLabel(const TerminalTexts& texts, const std::string& word, const std::string& label) {
    const TerminalWord* mine = terminalWord(texts, word);
    const TerminalWord* english = terminalWord(terminalTextsFor(9), word);
    // a label the script gave stays; the program's own English one is translated
    if (mine && english && label == english->label) return mine->label;
    return label;
}

std::string terminalFixedText(const TerminalTexts& texts, const std::string& text) {
    const TerminalTexts& english = terminalTextsFor(9);
    const struct {
        const char* english;
        const char* translated;
    } pairs[] = {{english.setupTypeTitle, texts.setupTypeTitle}, {english.licenceTitle, texts.licenceTitle},
                 {english.smtpText, texts.smtpText}, {english.newDirectoryButton, texts.newDirectoryButton},
                 {english.chooserTitle, texts.chooserTitle}, {english.smtpServer, texts.smtpServer}};
    for (const auto& p : pairs)
        if (text == p.english) return p.translated;
    return text;
}

std::string fillText(const char* text, const std::string& argument) {
    std::string out = text;
    size_t at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, argument);
    return out;
}

std::string terminalRefusal(const TerminalTexts& texts, const Refusal& refusal) {
    if (refusal.form == RefusalAsWritten) return toUtf8(refusal.text.c_str());
    const char* form = texts.refusals[refusal.form] ? texts.refusals[refusal.form] : kRefusalForms[refusal.form];
    return fillText(form, toUtf8(refusal.subject.c_str()));
}
