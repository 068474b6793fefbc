#pragma once
// Windows and controls of the platform stand-in: the application object,
// forms, buttons, panels, group boxes, labels, status bar, timer, progress bar,
// picture areas and the picture dialogs.  Every event handler runs through
// tk::Dispatch (toolkit/core/Dispatch.h).  Qt stays in the .cpp files.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/core/Pasek.h"
#include "toolkit/pictures/Graphics.h"
#include "toolkit/pictures/Windowing.h"

class QWidget;
class QEventLoop;

namespace tk {

// Every object of the toolkit has one owner that frees it: copying one (a
// window, a control) would free its parts twice, so none is copied.
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
using TShiftState = unsigned;
enum TShiftFlag : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TWinControl;

// A part of a window that is not a control (a timer, a picture dialog).  It
// belongs to its owner, which frees it with itself; without an owner it
// belongs to its creator.  Freed earlier, it leaves its owner.
class TComponent : public TObject {
 public:
  explicit TComponent(TWinControl* owner);
  ~TComponent() override;
  TWinControl* Owner() const { return owner_; }

 private:
  friend class TWinControl;
  TWinControl* owner_;
};

// Base of every control.  A control belongs to its parent, which frees it.
class TControl : public TObject {
 public:
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  std::string Name;

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  // The client area: the control less what it draws around its contents (a
  // grid's scroll bars); aligned children and every caller see the same.
  virtual int ClientWidth() const;
  virtual int ClientHeight() const;
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v);
  void SetTop(int v);
  void SetWidth(int v);
  void SetHeight(int v);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  bool Visible() const;
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);

  void Invalidate();
  void Repaint();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;

  // Runs OnClick through the dispatch, as a click of the user does.
  virtual void Click();
  void DblClick();

  // The client-area point of a screen point and back.
  TPoint ScreenToClient(TPoint p) const;
  TPoint ClientToScreen(TPoint p) const;

  QWidget* Widget() const { return widget_; }  // toolkit-internal

 protected:
  explicit TControl(TWinControl* parent);
  // Toolkit-internal: the Qt widget that shows this control (owned by Qt's
  // parent chain, or by this control when it is top-level).
  void AttachWidget(QWidget* widget);
  virtual void ColorChanged() {}
  virtual void FontChanged() {}
  virtual void CaptionChanged() {}

 private:
  friend class TWinControl;
  TWinControl* parent_;
  QWidget* widget_ = nullptr;
  TAlign align_ = alNone;
  TColor color_ = clBtnFace;
  TFont font_;
  bool parentFont_ = true;  // follows the parent's font until a font of its own is set
  bool visible_ = true;
  std::string caption_;
  std::string hint_;
};

// A control that holds other controls and arranges the aligned ones; it
// frees the controls it holds and the components it owns.
class TWinControl : public TControl {
 public:
  ~TWinControl() override;
  const std::vector<TControl*>& Controls() const { return children_; }
  void Realign();        // toolkit-internal: lays out aligned children
  bool Focused() const;  // this control (or its in-place editor) holds the keyboard focus
  void SetFocus();
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;  // focus left this control for another control of its window

 protected:
  explicit TWinControl(TWinControl* parent);
  // The part of the client area that aligned children share.
  virtual TRect AlignRect() const;

 private:
  friend class TControl;
  friend class TComponent;
  std::vector<TControl*> children_;
  std::vector<TComponent*> components_;
  bool aligning_ = false;
};

enum TPosition { poDesigned, poScreenCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

// A top-level window.  Hidden until shown; closing a secondary window hides
// it, closing the main window ends the message loop.
class TForm : public TWinControl {
 public:
  TForm();
  ~TForm() override;

  void SetPosition(TPosition position);  // poScreenCenter: centred on the desktop
  void SetVisible(bool visible) override;
  // Shows the window modelessly, brings it to the front and activates it;
  // OnShow runs when it becomes visible (not when it already was).
  void ShowForm();
  void BringToFront();
  // Asks OnCloseQuery and OnClose; hides the window, or ends the program for
  // the main window, unless a handler refused.
  void Close();
  bool Active() const;

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnActivate;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;
  // OnDblClick (from TControl) is raised by a double click on the window's free area.

  // The image of the client area.
  std::unique_ptr<TBitmap> GetFormImage();

  // Toolkit-internal: run by the application after the constructor (which
  // builds the layout) has finished: OnCreate, then show when Visible was set.
  void AfterConstruction();
  bool visibleAtStart = false;  // set by a layout that makes the window visible at start
  // Toolkit-internal: a close request of the user or of Close(); false when refused.
  bool CloseRequested();
  void Shown();  // the window has just become visible

 private:
  TPosition position_ = poDesigned;
  bool placed_ = false;
};

// The application object: initialise, create the windows in order (the first
// is the main window), run the message loop.
class TApplication {
 public:
  // Initialises the windowing layer (once per process) and installs the Qt
  // message box and dialog handlers.
  TApplication(const std::string& title);
  ~TApplication();

  template <class T>
  void CreateForm(T*& ref) {
    ref = new T();
    AddForm(ref);
  }
  void Run();  // shows the main window; returns when it has closed
  void Terminate();
  void ProcessMessages();
  TForm* MainForm() const { return mainForm_; }
  const std::vector<TForm*>& Forms() const { return forms_; }
  const std::string& Title() const;

 private:
  friend class TForm;
  void AddForm(TForm* form);
  void DestroyForms();
  TForm* mainForm_ = nullptr;
  std::vector<TForm*> forms_;
  QEventLoop* loop_ = nullptr;
  bool terminated_ = false;
};
extern TApplication* Application;

class TBitBtn : public TWinControl {
 public:
  explicit TBitBtn(TWinControl* parent);
  // A small picture left of the caption.
  void SetGlyph(const TBitmap& glyph);

 protected:
  void CaptionChanged() override;
  void FontChanged() override;
};

enum TBevelCut { bvNone, bvLowered, bvRaised };
class TPanel : public TWinControl {
 public:
  explicit TPanel(TWinControl* parent);
  void SetBevelOuter(TBevelCut bevel);
  TBevelCut BevelOuter() const { return bevel_; }

 protected:
  void CaptionChanged() override;
  void ColorChanged() override;
  void FontChanged() override;

 private:
  TBevelCut bevel_ = bvRaised;
};

class TGroupBox : public TWinControl {
 public:
  explicit TGroupBox(TWinControl* parent);

 protected:
  TRect AlignRect() const override;
  void CaptionChanged() override;
  void ColorChanged() override;
  void FontChanged() override;
};

class TLabel : public TControl {
 public:
  explicit TLabel(TWinControl* parent);
  void SetAutoSize(bool autoSize);

 protected:
  void CaptionChanged() override;
  void ColorChanged() override;
  void FontChanged() override;

 private:
  bool autoSize_ = true;
};

class TStatusBar : public TWinControl {
 public:
  explicit TStatusBar(TWinControl* parent);  // aligned to the bottom
  void AddPanel(int width);
  int PanelCount() const;
  std::string PanelText(int index) const;
  void SetPanelText(int index, const std::string& text);

 private:
  std::vector<std::string> texts_;
  std::vector<int> widths_;
};

// A message-loop timer; it stops when it is freed, with its owner at the latest.
class TTimer : public TComponent {
 public:
  explicit TTimer(TWinControl* owner);
  ~TTimer() override;
  void SetInterval(int milliseconds);
  int Interval() const;
  void SetEnabled(bool enabled);
  bool Enabled() const;
  TNotifyEvent OnTimer;
  void Tick();  // runs OnTimer through the dispatch (tests)

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

class TProgressBar : public TControl, public Pasek {
 public:
  explicit TProgressBar(TWinControl* parent);
  int Min = 0, Max = 100, Position = 0;
  void Update();  // shows Min, Max and Position
  // A solver's steps, each shown as it comes.
  void SetMin(int v) override { Min = v; }
  void SetMax(int v) override { Max = v; }
  void SetPosition(int v) override {
    Position = v;
    Update();
  }
};

// A picture area: holds a bitmap (made at the picture's size when its canvas
// is first used) or a recorded picture, shown unscaled from the top-left corner.
class TImage : public TControl {
 public:
  explicit TImage(TWinControl* parent);
  ~TImage() override;
  // The bitmap's canvas; creates a white bitmap of the picture's current size
  // when the picture holds no bitmap.  Resizing the picture later does not
  // resize the bitmap.
  TCanvas& Canvas();
  TBitmap* Bitmap() const;
  // Makes the picture show a recorded picture (replacing a bitmap).
  void SetMetafile(std::shared_ptr<TMetafile> metafile);
  TMetafile* Metafile() const;
  // The picture as shown, at the control's size (tests, export).
  std::unique_ptr<TBitmap> Render() const;
  // Shows the decoded picture (the title picture).
  void SetPicture(std::unique_ptr<TBitmap> bitmap);
  void Changed();  // repaint after drawing

  struct Impl;  // toolkit-internal

 private:
  std::unique_ptr<Impl> impl_;
};

// The save and open picture dialogs (through the replaceable dialog entry
// point of toolkit/core/MessageBox.h).
class TSavePictureDialog : public TComponent {
 public:
  explicit TSavePictureDialog(TWinControl* owner = nullptr) : TComponent(owner) {}
  std::string Title;
  std::string FileName;
  std::string Filter;  // "description|patterns|description|patterns..."
  bool Execute();
};
class TOpenPictureDialog : public TComponent {
 public:
  explicit TOpenPictureDialog(TWinControl* owner = nullptr) : TComponent(owner) {}
  std::string Title;
  std::string FileName;
  std::string Filter;
  bool Execute();
};
// The platform's picture filter.
extern const char* const kGraphicFilter;

}  // namespace tk
