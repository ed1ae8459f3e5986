#include "main/InterfaceStrings.h"

#include "core/GlobalCustoms.h"

const InterfaceStringPair sTranslate = {{L"Тәрҗемә", L"Перевод"}};
const InterfaceStringPair sParadigmGenerator = {{L"Парадигма генераторы", L"Генератор парадигмы"}};
const InterfaceStringPair sExit = {{L"Чыгу", L"Выход"}};
const InterfaceStringPair sInterfaceLanguage = {{L"Интерфейс теле", L"Язык интерфейса"}};
const InterfaceStringPair sRussian = {{L"Русча", L"Русский"}};
const InterfaceStringPair sTatar = {{L"Татарча", L"Татарский"}};
const InterfaceStringPair sDictionaries = {{L"Сүзлекләр", L"Словари"}};
const InterfaceStringPair sSettings = {{L"Көйләүләр", L"Настройки"}};
const InterfaceStringPair sHelp = {{L"Белешмә", L"Справка"}};
const InterfaceStringPair sClose = {{L"Ябу", L"Закрыть"}};
const InterfaceStringPair sService = {{L"Сервис", L"Сервис"}};
const InterfaceStringPair sUndo = {{L"Кире кагу", L"Отменить"}};
const InterfaceStringPair sRedo = {{L"Тергезү", L"Восстановить"}};
const InterfaceStringPair sCut = {{L"Кисеп алу", L"Вырезать"}};
const InterfaceStringPair sCopy = {{L"Күчерме ясау", L"Копировать"}};
const InterfaceStringPair sPaste = {{L"Кертү", L"Вставить"}};
const InterfaceStringPair sClear = {{L"Чистарту", L"Очистить"}};
const InterfaceStringPair sSelectAll = {{L"Бөтенесен билгеләү", L"Выделить всё"}};
const InterfaceStringPair sMaxLines = {{L"Саннарның максималь саны", L"Максимальное число строк"}};
const InterfaceStringPair sTranslationCard = {{L"Тәрҗемә карточкасы", L"Карточка перевода"}};
const InterfaceStringPair sOneWindow = {{L"Бер тәрәзәдә чагылдыру", L"Показывать в одном окне"}};
const InterfaceStringPair sSeparateWindows = {{L"Аерым тәрәзәләрдә чагылдыру", L"Показывать в отдельных окнах"}};
const InterfaceStringPair sScan = {{L"Сканлаштыру", L"Сканировать"}};
const InterfaceStringPair sScanWithShift = {{L"Shift басылган чакта сканлаштыру", L"Сканировать при нажатом Shift"}};
const InterfaceStringPair sAbout = {{L"Программа турында", L"О программе"}};
const InterfaceStringPair sPopupWindow = {{L"Килеп чега торган тәрәзә", L"Всплывающее окно"}};

const wchar_t* const LangShortName[2] = {L"Тат", L"Рус"};
const wchar_t* const ProductName = L"ТИРЕЛ";

int UILanguageIndex() {
    return LanguageOf(SharedCustomsOrDefaults().UILanguage);
}
