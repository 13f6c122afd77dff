#include "browser/win32/browser_host.h"

#include <exdispid.h>
#include <ocidl.h>
#include <oleidl.h>

#include "browser/win32/wide_text.h"
#include "shell/win32/window_class.h"

namespace orvane::win {
namespace {

constexpr char kContainerClass[] = "OrvaneBrowserPane";
// Ambient properties the control asks its site for; the site has none, so the defaults apply.
constexpr DISPID kAmbientOfflineIfNotConnected = -5501;
constexpr DISPID kAmbientSilent = -5502;

// The argument `i` counted from the first one the notification declares (DISPPARAMS holds them
// last first), with references followed.
const VARIANT* Arg(const DISPPARAMS* params, UINT i) {
  if (!params || i >= params->cArgs) return nullptr;
  const VARIANT* v = &params->rgvarg[params->cArgs - 1 - i];
  while (v && V_VT(v) == (VT_BYREF | VT_VARIANT)) v = V_VARIANTREF(v);
  return v;
}

Text ArgText(const DISPPARAMS* params, UINT i) {
  const VARIANT* v = Arg(params, i);
  if (!v) return {};
  if (V_VT(v) == VT_BSTR) return WideToAnsi(V_BSTR(v));
  if (V_VT(v) == (VT_BYREF | VT_BSTR) && V_BSTRREF(v)) return WideToAnsi(*V_BSTRREF(v));
  return {};
}

std::int32_t ArgInt(const DISPPARAMS* params, UINT i) {
  const VARIANT* v = Arg(params, i);
  if (!v) return 0;
  ScopedVariant converted;
  if (FAILED(VariantChangeType(converted.get(), const_cast<VARIANT*>(v), 0, VT_I4))) return 0;
  return V_I4(&*converted);
}

// Sets the VARIANT_BOOL behind a by-reference Cancel argument, explicitly true or false.
void SetCancel(const DISPPARAMS* params, UINT i, bool cancel) {
  if (!params || i >= params->cArgs) return;
  VARIANT* v = &params->rgvarg[params->cArgs - 1 - i];
  if (V_VT(v) == (VT_BYREF | VT_BOOL) && V_BOOLREF(v)) {
    *V_BOOLREF(v) = cancel ? VARIANT_TRUE : VARIANT_FALSE;
  }
}

}  // namespace

// The control's client site, in-place site and frame, and the sink of its DWebBrowserEvents2.
// One reference-counted object; the host holds one reference and cuts the link back to itself
// when its window goes.
class BrowserSite final : public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleInPlaceFrame,
                          public IDispatch {
 public:
  BrowserSite(BrowserHost* host, HWND container) : host_(host), container_(container) {}
  void Detach() { host_ = nullptr; }

  // IUnknown.
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
      *out = static_cast<IOleClientSite*>(this);
    } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
      *out = static_cast<IOleInPlaceSite*>(this);
    } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
      *out = static_cast<IOleInPlaceFrame*>(this);
    } else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
      *out = static_cast<IDispatch*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IOleClientSite.
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** m) override {
    if (m) *m = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** c) override {
    if (c) *c = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the in-place site and the frame).
  STDMETHODIMP GetWindow(HWND* hwnd) override {
    if (!hwnd) return E_POINTER;
    *hwnd = container_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite.
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, RECT* pos,
                                RECT* clip, OLEINPLACEFRAMEINFO* info) override {
    if (frame) {
      *frame = static_cast<IOleInPlaceFrame*>(this);
      AddRef();
    }
    if (doc) *doc = nullptr;
    RECT client{};
    GetClientRect(container_, &client);
    if (pos) *pos = client;
    if (clip) *clip = client;
    if (info) {
      info->fMDIApp = FALSE;
      info->hwndFrame = GetAncestor(container_, GA_ROOT);
      info->haccel = nullptr;
      info->cAccelEntries = 0;
    }
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow and IOleInPlaceFrame: no toolbars, menus or accelerators of the host.
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IDispatch: the control's notifications, and its questions for ambient properties.
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    if (n) *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** t) override {
    if (t) *t = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    if (id == kAmbientOfflineIfNotConnected || id == kAmbientSilent || id < 0) {
      return DISP_E_MEMBERNOTFOUND;  // ambient properties (all negative): the control's defaults
    }
    if (host_) Notify(host_->pane(), id, params);
    return S_OK;
  }

 private:
  ~BrowserSite() = default;

  // DWebBrowserEvents2 to the pane. Events may destroy the window; the pane keeps that in mind.
  static void Notify(BrowserPane& pane, DISPID id, DISPPARAMS* params) {
    switch (id) {
      case DISPID_BEFORENAVIGATE2:  // pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel
        SetCancel(params, 6, pane.OnBeforeNavigate(ArgText(params, 1)));
        break;
      case DISPID_NAVIGATECOMPLETE2:  // pDisp, URL
        pane.OnNavigateComplete(ArgText(params, 1));
        break;
      case DISPID_DOCUMENTCOMPLETE:  // pDisp, URL
        pane.OnDocumentComplete(ArgText(params, 1));
        break;
      case DISPID_DOWNLOADBEGIN:
        pane.OnDownloadBegin();
        break;
      case DISPID_DOWNLOADCOMPLETE:
        pane.OnDownloadComplete();
        break;
      case DISPID_PROGRESSCHANGE:  // Progress, ProgressMax
        pane.OnProgressChange(ArgInt(params, 0), ArgInt(params, 1));
        break;
      case DISPID_STATUSTEXTCHANGE:  // Text
        pane.OnStatusTextChange(ArgText(params, 0));
        break;
      case DISPID_TITLECHANGE:  // Text
        pane.OnTitleChange(ArgText(params, 0));
        break;
      case DISPID_COMMANDSTATECHANGE:  // Command, Enable
        pane.OnCommandStateChange(ArgInt(params, 0), ArgInt(params, 1) != 0);
        break;
      case DISPID_NEWWINDOW2:  // ppDisp, Cancel
        SetCancel(params, 1, pane.OnNewWindow());
        break;
      default:  // PropertyChange, OnQuit, OnVisible and the rest: received and ignored
        break;
    }
  }

  LONG refs_ = 1;
  BrowserHost* host_;
  HWND container_;
};

BrowserHost::BrowserHost(BrowserPaneHandler* handler) : pane_(*this, handler) {}

BrowserHost::~BrowserHost() {
  window_.reset();  // WM_DESTROY releases the control
  ReleaseControl();
}

std::unique_ptr<BrowserHost> BrowserHost::Create(HWND parent, const layout::Rect& rect, UINT id,
                                                 DWORD style, ByteView settings_block,
                                                 BrowserPaneHandler* handler) {
  std::optional<BrowserSettings> settings = ParseSettingsBlock(settings_block);
  if (!settings) return nullptr;

  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!EnsureWindowClass(kContainerClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, WindowProc,
                         static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))))
    return nullptr;

  std::unique_ptr<BrowserHost> host(new BrowserHost(handler));
  host->window_.reset(CreateWindowExA(0, kContainerClass, "", style | WS_CHILD | WS_CLIPSIBLINGS,
                                      rect.left, rect.top, rect.width, rect.height, parent,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance,
                                      host.get()));
  if (!host->window_ || !host->CreateControl()) return nullptr;
  host->pane_.ApplySettings(std::move(*settings));
  return host;
}

bool BrowserHost::CreateControl() {
  const HWND hwnd = window_.get();
  site_ = ComPtr<BrowserSite>::Adopt(new BrowserSite(this, hwnd));
  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              object_.put_void()))) {
    return false;
  }
  object_->SetClientSite(static_cast<IOleClientSite*>(site_.get()));
  OleSetContainedObject(object_.get(), TRUE);
  RECT client{};
  GetClientRect(hwnd, &client);
  object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_.get()), 0,
                  hwnd, &client);
  browser_ = object_.As<IWebBrowser2>(IID_IWebBrowser2);
  if (!browser_) return false;
  if (auto points = object_.As<IConnectionPointContainer>(IID_IConnectionPointContainer)) {
    ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, point.put()))) {
      point->Advise(static_cast<IDispatch*>(site_.get()), &advise_cookie_);
    }
  }
  return engine_window() != nullptr;
}

void BrowserHost::ReleaseControl() {
  pane_.OnWindowDestroyed();
  if (site_) site_->Detach();
  if (object_ && advise_cookie_) {
    if (auto points = object_.As<IConnectionPointContainer>(IID_IConnectionPointContainer)) {
      ComPtr<IConnectionPoint> point;
      if (SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, point.put()))) {
        point->Unadvise(advise_cookie_);
      }
    }
    advise_cookie_ = 0;
  }
  browser_.reset();
  if (object_) {
    if (auto inplace = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject)) {
      inplace->InPlaceDeactivate();
    }
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_.reset();
  }
  site_.reset();
}

HWND BrowserHost::engine_window() const {
  if (!object_) return nullptr;
  HWND hwnd = nullptr;
  if (auto window = object_.As<IOleWindow>(IID_IOleInPlaceObject)) window->GetWindow(&hwnd);
  return hwnd;
}

LRESULT CALLBACK BrowserHost::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* host = WindowObject<BrowserHost>(hwnd, msg, lp);
  switch (msg) {
    case WM_SIZE: {
      const LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
      if (host) {
        if (HWND engine = host->engine_window()) {
          RECT client{};
          GetClientRect(hwnd, &client);
          SetWindowPos(engine, nullptr, 0, 0, client.right, client.bottom,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        }
      }
      return r;
    }
    case WM_SETFOCUS: {
      const LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
      if (host) {
        if (HWND engine = host->engine_window()) SetFocus(engine);
      }
      return r;
    }
    case WM_DESTROY:
      if (host) host->ReleaseControl();
      return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_NCDESTROY:
      if (host) host->window_.release();
      return DefWindowProcA(hwnd, msg, wp, lp);
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

void BrowserHost::Navigate(TextRef url) {
  if (!browser_) return;
  ScopedBstr address(AnsiToBstr(url));
  VARIANT flags, target, post_data, headers;
  VariantInit(&flags);
  V_VT(&flags) = VT_I4;
  V_I4(&flags) = 0;
  VariantInit(&target);
  V_VT(&target) = VT_BSTR;
  V_BSTR(&target) = nullptr;
  VariantInit(&post_data);
  VariantInit(&headers);
  V_VT(&headers) = VT_BSTR;
  V_BSTR(&headers) = nullptr;
  // Keep the engine alive for the call: a nested event may destroy the window.
  ComPtr<IWebBrowser2> browser = browser_;
  browser->Navigate(address.get(), &flags, &target, &post_data, &headers);
}

void BrowserHost::SetOffline(bool offline) {
  if (browser_) browser_->put_Offline(offline ? VARIANT_TRUE : VARIANT_FALSE);
}

bool BrowserHost::Offline() {
  VARIANT_BOOL v = VARIANT_FALSE;
  return browser_ && SUCCEEDED(browser_->get_Offline(&v)) && v == VARIANT_TRUE;
}

void BrowserHost::SetSilent(bool silent) {
  if (browser_) browser_->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE);
}

bool BrowserHost::Silent() {
  VARIANT_BOOL v = VARIANT_FALSE;
  return browser_ && SUCCEEDED(browser_->get_Silent(&v)) && v == VARIANT_TRUE;
}

void BrowserHost::SetTextSize(int step) {
  if (!browser_) return;
  VARIANT in;
  VariantInit(&in);
  V_VT(&in) = VT_I4;
  V_I4(&in) = step;
  browser_->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &in, nullptr);
}

Text BrowserHost::LocationName() {
  ScopedBstr name;
  BSTR out = nullptr;
  if (browser_ && SUCCEEDED(browser_->get_LocationName(&out))) name.reset(out);
  return WideToAnsi(name.get());
}

Text BrowserHost::LocationUrl() {
  ScopedBstr url;
  BSTR out = nullptr;
  if (browser_ && SUCCEEDED(browser_->get_LocationURL(&out))) url.reset(out);
  return WideToAnsi(url.get());
}

}  // namespace orvane::win
