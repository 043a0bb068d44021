#pragma once
// What a host sees of the picture list box: the dispatch interface by member
// number, the event sink, the persisted property set and the class factory
// reached through the library's registration entry points. Header-only.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include "listbox/automation_error.h"
#include "listbox/picture.h"
#include "listbox/property_bag.h"
#include "listbox/tivolen_events.h"

class QWidget;
class QDialog;

namespace tivolen {

inline constexpr const char* kCtrlProgId = "TIVOLEN.TivolenCtrl.1";
inline constexpr const char* kPropPageProgId = "TIVOLEN.TivolenPropPage.1";
inline constexpr const char* kCtrlClsid = "{4B0C7A31-9E2D-11D0-8C3A-0040F6A1D2E5}";
inline constexpr const char* kPropPageClsid = "{4B0C7A32-9E2D-11D0-8C3A-0040F6A1D2E5}";
// The font, colour and picture pages the library brings for the control.
inline constexpr const char* kFontPageProgId = "TIVOLEN.StockFontPage.1";
inline constexpr const char* kFontPageClsid = "{4B0C7A33-9E2D-11D0-8C3A-0040F6A1D2E5}";
inline constexpr const char* kColorPageProgId = "TIVOLEN.StockColorPage.1";
inline constexpr const char* kColorPageClsid = "{4B0C7A34-9E2D-11D0-8C3A-0040F6A1D2E5}";
inline constexpr const char* kPicturePageProgId = "TIVOLEN.StockPicturePage.1";
inline constexpr const char* kPicturePageClsid = "{4B0C7A35-9E2D-11D0-8C3A-0040F6A1D2E5}";

struct PageClass {
  const char* progId;
  const char* clsid;
};
// The pages of the control's property sheet, in the order it shows them.
inline constexpr PageClass kPropertyPages[] = {{kPropPageProgId, kPropPageClsid},
                                               {kFontPageProgId, kFontPageClsid},
                                               {kColorPageProgId, kColorPageClsid},
                                               {kPicturePageProgId, kPicturePageClsid}};

// Member numbers of _DTivolen.
enum DispId : int {
  kDispValueDefault = 0,
  kDispListCount = 1, kDispNewIndex, kDispSelCount, kDispSort, kDispTopIndex, kDispMultiSelect,
  kDispDefPicture, kDispPicTransColor, kDispNumTabs, kDispPictureTab, kDispUserDraw,
  kDispSelectedForeColor, kDispSelectedBackColor, kDispShowTitle, kDispRollUp,
  kDispAutoHorizExtent, kDispNoRedraw, kDispListIndex, kDispValue, kDispDefHeight,
  kDispDragWindow, kDispToolTip, kDispMousePointer, kDispMouseIcon, kDispTBarHeight,
  kDispHdnHeight, kDispHdnWidth,
  kDispClear = 28, kDispRemoveItem, kDispAddItem, kDispItemFromPoint,
  kDispList = 32, kDispSelected, kDispListFontBold, kDispListFontItalic, kDispListFontName,
  kDispListPicture, kDispListFont, kDispListFontSize, kDispListFontUnderline,
  kDispListFontStrikethru, kDispListTabText, kDispItemData, kDispListHeight, kDispTabWidth,
  // Stock members.
  kDispBackColor = -501, kDispEnabled = -514, kDispFont = -512, kDispForeColor = -513,
  kDispHWnd = -515, kDispCaption = -518, kDispRefresh = -550, kDispAboutBox = -552,
};

// A column's text ends this many pixels before the start of the next column
// that shows something; a longer text is cut there and its whole row shows in
// the hover tooltip.
inline constexpr int kColumnGap = 4;

// Values of MultiSelect and MousePointer, as the type library names them.
enum MultipleSelectionC : int16_t { QX_SINGLE = 0, QX_MULTIPLE = 1, QX_EXTENDED = 2 };
enum MousePointerC : int16_t {
  QX_DEFAULT = 0, QX_ARROW, QX_CROSS, QX_IBEAM, QX_ICON, QX_SIZE, QX_SIZENESW, QX_SIZENS,
  QX_SIZENWSE, QX_SIZEEW, QX_UPARROW, QX_HOURGLASS, QX_NODROP, QX_APPSTARTING, QX_SIZEALL = 14,
  QX_CUSTOM = 15,
};

// One control instance as its host drives it.
class ITivolen {
 public:
  virtual ~ITivolen() = default;
  virtual QWidget* Widget() = 0;
  // index: the Index (and Column) arguments of indexed members.
  virtual DispResult GetProperty(int dispId, const QVariantList& index = {}) = 0;
  virtual DispResult PutProperty(int dispId, const QVariant& value, const QVariantList& index = {}) = 0;
  virtual DispResult Invoke(int dispId, const QVariantList& args = {}) = 0;
  // Member number by name (case-blind), -1 when unknown.
  virtual int DispIdOfName(const QString& name) const = 0;
  virtual void Advise(TivolenEvents* sink) = 0;
  virtual void Load(const PropertyBag& bag) = 0;
  virtual void Save(PropertyBag& bag) const = 0;
  // Set by every successful property change; the host clears it after saving.
  virtual bool IsModified() const = 0;
  virtual void SetModified(bool modified) = 0;
  // The container's scale: its units per inch (1440 for twips).
  virtual void SetContainerUnitsPerInch(double unitsPerInch) = 0;
  // The ProgIDs of the control's property pages, in the sheet's order.
  virtual QStringList PropertyPages() const = 0;
  // The property sheet, modal over parent; true when OK closed it.
  virtual bool ShowPropertySheet(QWidget* parent) = 0;
};

class ITivolenFactory {
 public:
  virtual ~ITivolenFactory() = default;
  // A running control (the list box window made) or, with userMode false,
  // a design-view control without one. bag: the stored property set, or none
  // for a new control, which takes the defaults file.
  virtual ITivolen* CreateInstance(QWidget* parent, const PropertyBag* bag, bool userMode = true) = 0;
  virtual void LockServer(bool lock) = 0;
};

class ITivolenPropPageFactory {
 public:
  virtual ~ITivolenPropPageFactory() = default;
  virtual QDialog* CreatePage(ITivolen* control, QWidget* parent) = 0;
};

// Result codes of the entry points.
inline constexpr int kSOk = 0;
inline constexpr int kSFalse = 1;
inline constexpr int kClassNotAvailable = int(0x80040111u);
inline constexpr int kRegistryWriteFailed = int(0x80040201u);

}  // namespace tivolen

// Entry points exported by libtivole32 (look them up with dlsym).
// DllGetClassObject takes a class id or ProgID and hands out an
// ITivolenFactory* (control) or ITivolenPropPageFactory* (property page).
extern "C" {
typedef int (*TivolenDllRegisterServer)();
typedef int (*TivolenDllUnregisterServer)();
typedef int (*TivolenDllGetClassObject)(const char* classId, void** factory);
typedef int (*TivolenDllCanUnloadNow)();
}
