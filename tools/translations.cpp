// Each language as its speakers' installers word it, each text no longer than the control that
// shows it holds (docs/setup-tsi.md, [Texts]). French puts a no-break space before ? : and ;.
#include "tools/translations.h"

#include "install/code_page.h"

namespace {

using V = SetupValue;

// clang-format off
const std::vector<Translation> translations = {
    {"en", "English", asciiOnly,
     {{L"{name} Setup", {L"Welcome to the setup of {name} {version}.", L"", L"Press Next to go on, or Cancel to leave."}},
      {L"License", {L"Do you accept the following agreement?"}},
      {L"Select destination directory", {L"Choose the folder {name} is installed in."}},
      {L"Select components to install", {L"Select the parts of {name} to install."}},
      {L"Ready to install", {L"Setup is now ready to install {name}.", L"Press Next to start."}},
      {L"Installing {name}", {L"Copying the files to your computer."}},
      {L"Setup complete", {L"{name} has been installed."}},
      {L"Reboot", {L"The computer must be restarted now."}}},
     {}},

    {"de", "German", 1252,
     {{L"Setup von {name}", {L"Willkommen beim Setup von {name} {version}.", L"",
                             L"Klicken Sie auf Weiter, um fortzufahren, oder auf Abbrechen, um Setup zu beenden."}},
      {L"Lizenzvertrag", {L"Akzeptieren Sie den folgenden Lizenzvertrag?"}},
      {L"Zielordner wählen", {L"Wählen Sie den Ordner, in den {name} installiert wird."}},
      {L"Komponenten auswählen", {L"Wählen Sie die Teile von {name}, die installiert werden sollen."}},
      {L"Bereit zur Installation", {L"Setup kann {name} jetzt installieren.", L"Klicken Sie auf Weiter, um zu beginnen."}},
      {L"{name} wird installiert", {L"Die Dateien werden auf Ihren Computer kopiert."}},
      {L"Setup abgeschlossen", {L"{name} wurde installiert."}},
      {L"Neustart", {L"Der Computer muss jetzt neu gestartet werden."}}},
     {{V::textBack, L"< Zurück"},
      {V::textNext, L"Weiter >"},
      {V::textCancel, L"Abbrechen"},
      {V::textFinish, L"Fertig"},
      {V::textYes, L"Ja"},
      {V::textNo, L"Nein"},
      {V::textBrowse, L"Durchsuchen"},
      {V::textDestinationDirectory, L"Zielordner"},
      {V::textAvailableComponents, L"Verfügbare Komponenten"},
      {V::textFileProgress, L"Fortschritt der aktuellen Datei:"},
      {V::textTotalProgress, L"Gesamtfortschritt der Installation:"},
      {V::textRebootNow, L"Ja, den Computer jetzt neu starten"},
      {V::textRebootLater, L"Nein, ich starte den Computer später neu"},
      {V::textExitCaption, L"Setup beenden"},
      {V::textExitQuestion, L"Möchten Sie Setup wirklich beenden?\\n\\nWenn Sie jetzt beenden, wird das Programm nicht "
                            L"installiert.\\nSie können Setup später erneut ausführen, um die Installation abzuschließen."},
      {V::textCancelledText, L"Setup wird jetzt abgebrochen."},
      {V::textCancelledCaption, L"Hinweis"},
      {V::textVersionQuestion, L"Dieses Programm ist möglicherweise nicht mit der auf Ihrem System\\ninstallierten "
                               L"LUMORA-Bibliothek kompatibel. Trotzdem fortfahren?"},
      {V::textVersionCaption, L"Warnung"},
      {V::textIncompleteCaption, L"Installation unvollständig"},
      {V::textIncompleteText, L"Setup konnte nicht alles installieren. Diese Komponenten oder Dateien fehlen oder "
                              L"sind unvollständig:"},
      {V::textIncompleteAdvice, L"Führen Sie Setup erneut aus, sobald das Problem behoben ist."},
      {V::textInstallingQuestion, L"Setup installiert gerade die Dateien und kann erst danach beendet werden.\\n\\n"
                                  L"Möchten Sie Setup beenden, sobald die Installation abgeschlossen ist?"},
      {V::textBrowseText, L"\\nWählen Sie den Ordner, in den das Programm installiert wird:"},
      {V::textCompletedInPart, L"Einige Teile konnten nicht installiert werden; siehe die zuvor gezeigte Liste."}}},

    {"fr", "French", 1252,
     {{L"Installation de {name}", {L"Bienvenue dans l'installation de {name} {version}.", L"",
                                   L"Cliquez sur Suivant pour continuer, ou sur Annuler pour quitter."}},
      {L"Contrat de licence", {L"Acceptez-vous le contrat suivant\u00a0?"}},
      {L"Choix du dossier de destination", {L"Choisissez le dossier où installer {name}."}},
      {L"Choix des composants", {L"Sélectionnez les éléments de {name} à installer."}},
      {L"Prêt à installer", {L"L'installation de {name} peut commencer.", L"Cliquez sur Suivant pour démarrer."}},
      {L"Installation de {name}", {L"Copie des fichiers sur votre ordinateur."}},
      {L"Installation terminée", {L"{name} a été installé."}},
      {L"Redémarrage", {L"L'ordinateur doit maintenant redémarrer."}}},
     {{V::textBack, L"< Précédent"},
      {V::textNext, L"Suivant >"},
      {V::textCancel, L"Annuler"},
      {V::textFinish, L"Terminer"},
      {V::textYes, L"Oui"},
      {V::textNo, L"Non"},
      {V::textBrowse, L"Parcourir"},
      {V::textDestinationDirectory, L"Dossier de destination"},
      {V::textAvailableComponents, L"Composants disponibles"},
      {V::textFileProgress, L"Progression du fichier en cours\u00a0:"},
      {V::textTotalProgress, L"Progression totale de l'installation\u00a0:"},
      {V::textRebootNow, L"Oui, redémarrer l'ordinateur maintenant"},
      {V::textRebootLater, L"Non, je redémarrerai l'ordinateur plus tard"},
      {V::textExitCaption, L"Quitter l'installation"},
      {V::textExitQuestion, L"Voulez-vous vraiment quitter l'installation\u00a0?\\n\\nSi vous quittez maintenant, le "
                            L"programme ne sera pas installé sur votre ordinateur.\\nVous pourrez relancer "
                            L"l'installation plus tard pour la terminer."},
      {V::textCancelledText, L"L'installation va être annulée."},
      {V::textCancelledCaption, L"Information"},
      {V::textVersionQuestion, L"Ce programme n'est peut-être pas compatible avec la bibliothèque\\nLUMORA installée "
                               L"sur votre système. Continuer\u00a0?"},
      {V::textVersionCaption, L"Avertissement"},
      {V::textIncompleteCaption, L"Installation incomplète"},
      {V::textIncompleteText, L"L'installation n'a pas pu tout installer. Ces composants ou fichiers sont absents ou "
                              L"incomplets\u00a0:"},
      {V::textIncompleteAdvice, L"Relancez l'installation une fois le problème résolu."},
      {V::textInstallingQuestion, L"L'installation copie les fichiers et ne peut pas s'arrêter avant la fin.\\n\\n"
                                  L"Voulez-vous quitter dès que l'installation sera terminée\u00a0?"},
      {V::textBrowseText, L"\\nSélectionnez le dossier où installer le programme\u00a0:"},
      {V::textCompletedInPart, L"Certains éléments n'ont pas pu être installés\u00a0; voir la liste affichée "
                               L"précédemment."}}},

    {"es", "Spanish", 1252,
     {{L"Instalación de {name}", {L"Bienvenido a la instalación de {name} {version}.", L"",
                                  L"Haga clic en Siguiente para continuar o en Cancelar para salir."}},
      {L"Contrato de licencia", {L"¿Acepta el siguiente contrato?"}},
      {L"Carpeta de destino", {L"Elija la carpeta en la que se instalará {name}."}},
      {L"Selección de componentes", {L"Seleccione las partes de {name} que desea instalar."}},
      {L"Listo para instalar", {L"Ya se puede instalar {name}.", L"Haga clic en Siguiente para empezar."}},
      {L"Instalando {name}", {L"Copiando los archivos en el equipo."}},
      {L"Instalación completada", {L"{name} se ha instalado."}},
      {L"Reinicio", {L"Es necesario reiniciar el equipo ahora."}}},
     {{V::textBack, L"< Atrás"},
      {V::textNext, L"Siguiente >"},
      {V::textCancel, L"Cancelar"},
      {V::textFinish, L"Finalizar"},
      {V::textYes, L"Sí"},
      {V::textNo, L"No"},
      {V::textBrowse, L"Examinar"},
      {V::textDestinationDirectory, L"Carpeta de destino"},
      {V::textAvailableComponents, L"Componentes disponibles"},
      {V::textFileProgress, L"Progreso del archivo actual:"},
      {V::textTotalProgress, L"Progreso total de la instalación:"},
      {V::textRebootNow, L"Sí, reiniciar el equipo ahora"},
      {V::textRebootLater, L"No, reiniciaré el equipo más tarde"},
      {V::textExitCaption, L"Salir de la instalación"},
      {V::textExitQuestion, L"¿Seguro que desea salir de la instalación?\\n\\nSi sale ahora, el programa no se "
                            L"instalará en el equipo.\\nPuede volver a ejecutar la instalación más tarde para "
                            L"completarla."},
      {V::textCancelledText, L"La instalación se cancelará ahora."},
      {V::textCancelledCaption, L"Información"},
      {V::textVersionQuestion, L"Es posible que este programa no sea compatible con la biblioteca\\nLUMORA "
                               L"instalada en el sistema. ¿Desea continuar?"},
      {V::textVersionCaption, L"Advertencia"},
      {V::textIncompleteCaption, L"Instalación incompleta"},
      {V::textIncompleteText, L"No se pudo instalar todo. Estos componentes o archivos faltan o están incompletos:"},
      {V::textIncompleteAdvice, L"Vuelva a ejecutar la instalación cuando se haya resuelto el problema."},
      {V::textInstallingQuestion, L"Se están instalando los archivos y no es posible detenerse antes de terminar.\\n\\n"
                                  L"¿Desea salir en cuanto finalice la instalación?"},
      {V::textBrowseText, L"\\nSeleccione la carpeta en la que se instalará el programa:"},
      {V::textCompletedInPart, L"Algunas partes no se pudieron instalar; consulte la lista mostrada antes."}}},

    {"ru", "Russian", 1251,
     {{L"Установка программы {name}", {L"Вас приветствует программа установки {name} {version}.", L"",
                             L"Нажмите «Далее», чтобы продолжить, или «Отмена», чтобы выйти."}},
      {L"Лицензионное соглашение", {L"Вы принимаете условия следующего соглашения?"}},
      {L"Выбор папки установки", {L"Выберите папку, в которую будет установлена программа {name}."}},
      {L"Выбор компонентов", {L"Выберите компоненты программы {name} для установки."}},
      {L"Всё готово к установке", {L"Программа установки готова установить {name}.", L"Нажмите «Далее», чтобы начать."}},
      {L"Установка программы {name}", {L"Копирование файлов на компьютер."}},
      {L"Установка завершена", {L"Программа {name} установлена."}},
      {L"Перезагрузка", {L"Необходимо перезагрузить компьютер."}}},
     {{V::textBack, L"< Назад"},
      {V::textNext, L"Далее >"},
      {V::textCancel, L"Отмена"},
      {V::textFinish, L"Готово"},
      {V::textYes, L"Да"},
      {V::textNo, L"Нет"},
      {V::textBrowse, L"Обзор..."},
      {V::textDestinationDirectory, L"Папка установки"},
      {V::textAvailableComponents, L"Доступные компоненты"},
      {V::textFileProgress, L"Ход копирования файла:"},
      {V::textTotalProgress, L"Общий ход установки:"},
      {V::textRebootNow, L"Да, перезагрузить компьютер сейчас"},
      {V::textRebootLater, L"Нет, я перезагружу компьютер позже"},
      {V::textExitCaption, L"Выход из программы установки"},
      {V::textExitQuestion, L"Вы действительно хотите прервать установку?\\n\\nЕсли выйти сейчас, программа не будет "
                            L"установлена на компьютер.\\nВы сможете запустить установку позже, чтобы завершить её."},
      {V::textCancelledText, L"Установка будет прервана."},
      {V::textCancelledCaption, L"Сведения"},
      {V::textVersionQuestion, L"Эта программа может быть несовместима с установленной\\nв системе библиотекой "
                               L"LUMORA. Продолжить?"},
      {V::textVersionCaption, L"Предупреждение"},
      {V::textIncompleteCaption, L"Установка не завершена"},
      {V::textIncompleteText, L"Установить удалось не всё. Эти компоненты или файлы не установлены или "
                              L"установлены не полностью:"},
      {V::textIncompleteAdvice, L"Устраните проблему и запустите установку снова."},
      {V::textInstallingQuestion, L"Идёт копирование файлов, прервать его до завершения нельзя.\\n\\nВыйти из "
                                  L"программы установки сразу после завершения установки?"},
      {V::textBrowseText, L"\\nВыберите папку, в которую будет установлена программа:"},
      {V::textCompletedInPart, L"Некоторые компоненты установить не удалось; см. показанный ранее список."}}},

    {"pl", "Polish", 1250,
     {{L"Instalacja programu {name}", {L"Witamy w instalatorze programu {name} {version}.", L"",
                                       L"Kliknij Dalej, aby kontynuować, lub Anuluj, aby zakończyć."}},
      {L"Umowa licencyjna", {L"Czy akceptujesz warunki poniższej umowy?"}},
      {L"Wybór folderu docelowego", {L"Wybierz folder, w którym zostanie zainstalowany program {name}."}},
      {L"Wybór składników", {L"Wybierz składniki programu {name} do zainstalowania."}},
      {L"Gotowy do instalacji", {L"Instalator jest gotowy do zainstalowania programu {name}.",
                                 L"Kliknij Dalej, aby rozpocząć."}},
      {L"Instalowanie programu {name}", {L"Trwa kopiowanie plików na komputer."}},
      {L"Instalacja zakończona", {L"Program {name} został zainstalowany."}},
      {L"Ponowne uruchomienie", {L"Komputer musi zostać teraz uruchomiony ponownie."}}},
     {{V::textBack, L"< Wstecz"},
      {V::textNext, L"Dalej >"},
      {V::textCancel, L"Anuluj"},
      {V::textFinish, L"Zakończ"},
      {V::textYes, L"Tak"},
      {V::textNo, L"Nie"},
      {V::textBrowse, L"Przeglądaj"},
      {V::textDestinationDirectory, L"Folder docelowy"},
      {V::textAvailableComponents, L"Dostępne składniki"},
      {V::textFileProgress, L"Postęp bieżącego pliku:"},
      {V::textTotalProgress, L"Postęp całej instalacji:"},
      {V::textRebootNow, L"Tak, uruchom ponownie komputer teraz"},
      {V::textRebootLater, L"Nie, uruchomię ponownie komputer później"},
      {V::textExitCaption, L"Zakończ instalację"},
      {V::textExitQuestion, L"Czy na pewno chcesz zakończyć instalację?\\n\\nJeśli zakończysz ją teraz, program nie "
                            L"zostanie zainstalowany.\\nMożesz później ponownie uruchomić instalator, aby dokończyć "
                            L"instalację."},
      {V::textCancelledText, L"Instalacja zostanie teraz przerwana."},
      {V::textCancelledCaption, L"Informacja"},
      {V::textVersionQuestion, L"Ten program może nie być zgodny z biblioteką LUMORA\\nzainstalowaną w systemie. "
                               L"Czy kontynuować?"},
      {V::textVersionCaption, L"Ostrzeżenie"},
      {V::textIncompleteCaption, L"Instalacja niekompletna"},
      {V::textIncompleteText, L"Nie udało się zainstalować wszystkiego. Brakuje tych składników lub plików albo są "
                              L"niekompletne:"},
      {V::textIncompleteAdvice, L"Uruchom instalator ponownie po usunięciu problemu."},
      {V::textInstallingQuestion, L"Trwa instalowanie plików, którego nie można przerwać przed zakończeniem.\\n\\n"
                                  L"Czy zamknąć instalator zaraz po zakończeniu instalacji?"},
      {V::textBrowseText, L"\\nWybierz folder, w którym zostanie zainstalowany program:"},
      {V::textCompletedInPart, L"Niektórych części nie udało się zainstalować; zobacz wyświetloną wcześniej "
                               L"listę."}}},

    {"ja", "Japanese", 932,
     {{L"{name} セットアップ", {L"{name} {version} のセットアップへようこそ。", L"",
                               L"続行するには [次へ] を、終了するには [キャンセル] をクリックしてください。"}},
      {L"使用許諾契約", {L"次の使用許諾契約に同意しますか？"}},
      {L"インストール先の選択", {L"{name} をインストールするフォルダーを選択してください。"}},
      {L"コンポーネントの選択", {L"インストールする {name} のコンポーネントを選択してください。"}},
      {L"インストールの準備完了", {L"{name} をインストールする準備ができました。", L"[次へ] をクリックすると開始します。"}},
      {L"{name} をインストールしています", {L"ファイルをコンピューターにコピーしています。"}},
      {L"セットアップの完了", {L"{name} のインストールが完了しました。"}},
      {L"再起動", {L"コンピューターを今すぐ再起動する必要があります。"}}},
     {{V::textBack, L"< 戻る"},
      {V::textNext, L"次へ >"},
      {V::textCancel, L"キャンセル"},
      {V::textFinish, L"完了"},
      {V::textYes, L"はい"},
      {V::textNo, L"いいえ"},
      {V::textBrowse, L"参照..."},
      {V::textDestinationDirectory, L"インストール先フォルダー"},
      {V::textAvailableComponents, L"利用可能なコンポーネント"},
      {V::textFileProgress, L"現在のファイルの進行状況："},
      {V::textTotalProgress, L"インストール全体の進行状況："},
      {V::textRebootNow, L"はい、今すぐコンピューターを再起動します"},
      {V::textRebootLater, L"いいえ、後でコンピューターを再起動します"},
      {V::textExitCaption, L"セットアップの終了"},
      {V::textExitQuestion, L"セットアップを中止しますか？\\n\\n今中止すると、プログラムはコンピューターにインストール"
                            L"されません。\\n後でセットアップを再度実行して、インストールを完了できます。"},
      {V::textCancelledText, L"セットアップを中止します。"},
      {V::textCancelledCaption, L"情報"},
      {V::textVersionQuestion, L"このプログラムは、システムにインストールされている\\nLUMORA ライブラリと互換性がない"
                               L"可能性があります。続行しますか？"},
      {V::textVersionCaption, L"警告"},
      {V::textIncompleteCaption, L"インストールが完了していません"},
      {V::textIncompleteText, L"一部をインストールできませんでした。次のコンポーネントまたはファイルが見つからないか、"
                              L"不完全です："},
      {V::textIncompleteAdvice, L"問題を解決してから、セットアップをもう一度実行してください。"},
      {V::textInstallingQuestion, L"ファイルをインストールしています。完了するまで中止できません。\\n\\n"
                                  L"インストールの完了後にセットアップを終了しますか？"},
      {V::textBrowseText, L"\\nプログラムをインストールするフォルダーを選択してください："},
      {V::textCompletedInPart, L"一部をインストールできませんでした。先に表示された一覧をご覧ください。"}}},

    {"zh-CN", "Simplified Chinese", 936,
     {{L"{name} 安装程序", {L"欢迎使用 {name} {version} 安装程序。", L"", L"单击“下一步”继续，或单击“取消”退出。"}},
      {L"许可协议", {L"您是否接受以下许可协议？"}},
      {L"选择目标文件夹", {L"请选择 {name} 的安装文件夹。"}},
      {L"选择组件", {L"请选择要安装的 {name} 组件。"}},
      {L"准备安装", {L"安装程序已准备好安装 {name}。", L"单击“下一步”开始安装。"}},
      {L"正在安装 {name}", {L"正在将文件复制到您的计算机。"}},
      {L"安装完成", {L"{name} 已安装。"}},
      {L"重新启动", {L"必须立即重新启动计算机。"}}},
     {{V::textBack, L"< 上一步"},
      {V::textNext, L"下一步 >"},
      {V::textCancel, L"取消"},
      {V::textFinish, L"完成"},
      {V::textYes, L"是"},
      {V::textNo, L"否"},
      {V::textBrowse, L"浏览..."},
      {V::textDestinationDirectory, L"目标文件夹"},
      {V::textAvailableComponents, L"可用组件"},
      {V::textFileProgress, L"当前文件进度："},
      {V::textTotalProgress, L"总体安装进度："},
      {V::textRebootNow, L"是，立即重新启动计算机"},
      {V::textRebootLater, L"否，我稍后再重新启动计算机"},
      {V::textExitCaption, L"退出安装程序"},
      {V::textExitQuestion, L"确实要退出安装程序吗？\\n\\n如果现在退出，程序将不会安装到您的计算机上。\\n"
                            L"您可以稍后再次运行安装程序以完成安装。"},
      {V::textCancelledText, L"安装将被取消。"},
      {V::textCancelledCaption, L"提示"},
      {V::textVersionQuestion, L"此程序可能与系统中安装的\\nLUMORA 库不兼容。是否继续？"},
      {V::textVersionCaption, L"警告"},
      {V::textIncompleteCaption, L"安装未完成"},
      {V::textIncompleteText, L"安装程序未能安装全部内容。以下组件或文件缺失或不完整："},
      {V::textIncompleteAdvice, L"请在解决问题后重新运行安装程序。"},
      {V::textInstallingQuestion, L"安装程序正在安装文件，完成前无法停止。\\n\\n是否在安装完成后立即退出安装程序？"},
      {V::textBrowseText, L"\\n请选择要安装程序的文件夹："},
      {V::textCompletedInPart, L"部分内容未能安装；请参阅之前显示的列表。"}}},
};
// clang-format on

bool SameLanguage(const std::string &left, const char *right)
{
    std::string other(right);
    if (left.size() != other.size()) return false;
    for (size_t k = 0; k < left.size(); ++k) {
        auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (fold(left[k]) != fold(other[k])) return false;
    }
    return true;
}

} // namespace

const std::vector<Translation> &Translations()
{
    return translations;
}

const Translation *FindTranslation(const std::string &language)
{
    for (const Translation &translation : translations)
        if (SameLanguage(language, translation.language)) return &translation;
    return nullptr;
}

std::wstring TextOf(const Translation &translation, SetupValue text)
{
    for (const TextWords &words : translation.texts)
        if (words.text == text) return words.words;
    const char *english = RuleOf(text).defaultValue;
    return std::wstring(english, english + std::char_traits<char>::length(english));
}

std::string LanguageList()
{
    std::string list;
    for (const Translation &translation : translations) {
        if (!list.empty()) list += ", ";
        list += translation.language;
    }
    return list;
}
