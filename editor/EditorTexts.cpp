#include "editor/EditorTexts.h"

#include <cstdio>
#include <map>
#include <string>

namespace {

struct TEXTENTRY {
    int nID;
    const char* pszText;
};

const TEXTENTRY kTexts[] = {
    {101, "&A propos de l'\xe9" "diteur KAVO..."},
    {102, "Club"},
    {103, "D\xe9tails club"},
    {104, "D\xe9tails manager"},
    {105, "Nom"},
    {106, "R\xe9putation"},
    {107, "D\xe9tails joueurs"},
    {108, "N\xe9 le"},
    {109, "Pays"},
    {110, "&Sauvegarder..."},
    {111, "&Quitter..."},
    {112, "Num\xe9ros maillots"},
    {113, "Nom long"},
    {114, "Nom court"},
    {115, "Modifier..."},
    {116, "OK"},
    {117, "Annuler"},
    {118, "Statistiques"},
    {119, "Modifier joueur"},
    {120, "Editeur KAVO"},
    {121, "Ma\xeetrise"},
    {122, "Tacle"},
    {123, "Passe"},
    {124, "Dribble"},
    {125, "T\xeate"},
    {126, "Tir"},
    {127, "Puiss."},
    {128, "Vitesse"},
    {129, "Condition"},
    {130, "Moral"},
    {131, "Agilit\xe9"},
    {132, "Agressivit\xe9"},
    {133, "Confiance"},
    {134, "Esprit d'\xe9quipe"},
    {135, "Avidit\xe9"},
    {136, "Intelligence"},
    {137, "Volont\xe9"},
    {138, "Influence"},
    {139, "Fragilit\xe9 phys."},
    {140, "Marquage"},
    {141, "Potentiel"},
    {142, "Demande"},
    {143, "Quitter l'\xe9" "diteur KAVO"},
    {144, "Sauvegarder l'\xe9" "diteur KAVO"},
    {145, "Annuler toutes les modifications ?"},
    {146, "Sauvegarder toutes les modifications dans un nouveau fichier ?"},
    {147, "Une erreur est survenue pendant la sauvegarde"},
    {148, "Donn\xe9" "es (*.bin)|*.bin||"},
    {149, "Erreur \xe9" "diteur KAVO"},
    // The periods the birth-date checks accept (ages 15 to 90 for managers,
    // 14 to 50 for players), in the sentence of the table.
    {150, "Les dates que vous venez de saisir ne correspondent pas \xe0 la bonne p\xe9riode.\n\n"
          "La p\xe9riode correcte s'\xe9tend d'Aujourd'hui - 90 ans \xe0 Aujourd'hui - 15 ans."},
    {151, "Les dates que vous venez de saisir ne correspondent pas \xe0 la bonne p\xe9riode.\n\n"
          "La p\xe9riode correcte s'\xe9tend d'Aujourd'hui - 50 ans \xe0 Aujourd'hui - 14 ans."},
    {152, "Le num\xe9ro que vous venez de saisir est d\xe9j\xe0 attribu\xe9 \xe0 un autre joueur.\n\n"
          "Echange de num\xe9ro entre %d (%s) et %d (%s)."},
    {154, "A propos de l'\xe9" "diteur KAVO"},
    {155, "Impossible d'allouer de la m\xe9moire ! Quittez les autres applications ou lib\xe9rez de l'espace "
          "disque."},
    {156, "Initialisation"},
    {157, "Chargement des donn\xe9" "es"},
    {158, "Cr\xe9" "ation des pr\xe9noms des joueurs"},
    {159, "Cr\xe9" "ation des noms des joueurs"},
    {160, "Termin\xe9"},
    {161, "Chargement de l'\xe9" "diteur KAVO"},
    {162, "Donn\xe9" "es (*.dat)|*.dat||"},
    {163, "Sauvegarde des pr\xe9noms"},
    {164, "Sauvegarde des noms"},
    {165, "Sauvegarde des donn\xe9" "es"},
    {166, "Sauvegarde de l'\xe9" "diteur KAVO"},
    {167, "Pays"},
    {168, "Nouevelle cr\xe9" "ation de pr\xe9noms"},
    {169, "Nouvelle cr\xe9" "ation de noms"},
    {171, "Notation"},
    {172, "Aper\xe7u."},
    {173, "Place"},
    {174, "Poste"},
    {175, "Entrez une valeur comprise entre %d et %d. Retour \xe0 la valeur %d."},
    // The file picker's and the About box's own words.
    {300, "Dossier"},
    {301, "Nom du fichier"},
    {302, "Type"},
    {303, "Enregistrer"},
    {304, "Le dossier '%s' n'existe pas."},
    {305, "Entrez le nom du fichier."},
    {306, "Le fichier '%s' existe d\xe9j\xe0.\n\nVoulez-vous le remplacer ?"},
    {307, "Impossible d'\xe9" "crire '%s' : le dossier ou le fichier est prot\xe9g\xe9 en \xe9" "criture."},
    {308, "Aucun fichier de ce type dans ce dossier."},
    {309, "Le fichier '%s' est d\xe9j\xe0 choisi pour une autre partie de la sauvegarde."},
    {310, "Quillet, version 1.0"},
    {311, "L'\xe9" "diteur de la base de d\xe9part de Brellox."},
    {312, "R\xe9" "alis\xe9 par l'\xe9quipe de Brellox."},
    // Why a database cannot be edited or saved.
    {313, "Les dictionnaires de noms ou les tables du dossier Data sont illisibles."},
    {314, "La base de donn\xe9" "es '%s' n'existe pas."},
    {315, "La base de donn\xe9" "es '%s' est endommag\xe9" "e et ne peut pas \xea" "tre modifi\xe9" "e."},
    {316, "La base de donn\xe9" "es '%s' est une partie en cours, pas une base de d\xe9part."},
    {317, "Les dictionnaires de noms du dossier Data\\Names ne sont pas dans l'ordre."},
    {318, "Il n'y a aucune base de donn\xe9" "es \xe0 sauvegarder."},
    {319, "Le code de la base de donn\xe9" "es n'a pas pu d\xe9marrer."},
    // A name left blank.
    {320, "Un nom ne peut pas \xea" "tre vide : l'ancien nom est gard\xe9."},
};

}  // namespace

const char* EditorText(int nID)
{
    for (const TEXTENTRY& entry : kTexts)
        if (entry.nID == nID)
            return entry.pszText;
    return nullptr;
}

std::string FormatEditorText(int nID, const std::string& value)
{
    const char* pszFormat = EditorText(nID);
    if (!pszFormat)
        return value;
    char szText[1024];
    std::snprintf(szText, sizeof szText, pszFormat, value.c_str());
    return szText;
}

const char* EditorControlCaption(uint32_t dwID)
{
    static const struct {
        uint32_t dwID;
        int nText;
    } kCaptions[] = {
        {EDITOR_BUTTON_EDIT_PLAYER, 115}, {EDITOR_BUTTON_APPLY, 142},     {EDITOR_BUTTON_SAVE, 110},
        {EDITOR_BUTTON_QUIT, 111},        {EDITOR_BUTTON_MESSAGE_OK, 116}, {EDITOR_BUTTON_PLAYER_OK, 116},
        {EDITOR_BUTTON_PLAYER_CANCEL, 117},
        {EDITOR_BUTTON_FILE_SAVE, 303},   {EDITOR_BUTTON_FILE_CANCEL, 117}, {EDITOR_BUTTON_ABOUT, 101},
        {EDITOR_BUTTON_ABOUT_OK, 116},
    };
    // The answers of a question have no text of their own in the table.
    if (dwID == EDITOR_BUTTON_MESSAGE_YES)
        return "Oui";
    if (dwID == EDITOR_BUTTON_MESSAGE_NO)
        return "Non";
    static std::map<uint32_t, std::string> s_Captions;
    for (const auto& caption : kCaptions) {
        if (caption.dwID != dwID)
            continue;
        auto it = s_Captions.find(dwID);
        if (it == s_Captions.end()) {
            std::string text = EditorText(caption.nText);
            std::erase(text, '&');
            it = s_Captions.emplace(dwID, text).first;
        }
        return it->second.c_str();
    }
    return nullptr;
}
