// The document's side of the video window: attaching it to an owner and placing the picture.

#include "playlist/PlayerDoc.h"
#include "playlist/VideoPlacement.h"

namespace lumivox {

void CPlayerDoc::AttachVideo(IVideoOwner* owner) {
  if (!engine_->HasVideoWindow()) return;
  if (owner) {
    engine_->SetVideoOwner(owner);
    LayoutVideo(0.0);
  }
  engine_->SetVideoAutoShow(false);
  if (engine_->GetState() != State_Stopped) ShowVideo();
}

void CPlayerDoc::DetachVideo() {
  if (!engine_->HasVideoWindow()) return;
  engine_->SetVideoVisible(false);
  engine_->SetVideoOwner(nullptr);
}

void CPlayerDoc::ShowVideo() {
  if (!engine_->HasVideoWindow()) return;
  if (engine_->GetVideoOwner()) engine_->SetVideoVisible(true);
}

void CPlayerDoc::SetVideoPosition(int x, int y) {
  if (engine_->HasVideoWindow()) engine_->SetVideoWindowPosition(x, y);
}

void CPlayerDoc::SetVideoSize(int width, int height) {
  if (engine_->HasVideoWindow()) engine_->SetVideoWindowSize(width, height);
}

bool CPlayerDoc::GetNativeVideoSize(VideoSize& size) {
  if (!engine_->HasBasicVideo()) return false;
  std::int32_t w = 0, h = 0;
  if (!engine_->GetVideoWidth(w) || !engine_->GetVideoHeight(h)) return false;
  size = {w, h};
  return true;
}

void CPlayerDoc::LayoutVideo(double scale) {
  if (!engine_->HasVideoWindow()) return;
  const IVideoOwner* owner = engine_->GetVideoOwner();
  if (!owner) return;
  VideoSize native;
  if (!GetNativeVideoSize(native)) return;
  const auto place = PlaceVideo(owner->ClientSize(), native, settings_.AspectRatio(), scale);
  if (!place) return;
  if (place->growFrame && frame_) frame_->ResizeBy(place->growFrame->width, place->growFrame->height);
  SetVideoPosition(place->x, place->y);
  SetVideoSize(place->width, place->height);
}

void CPlayerDoc::SetVideoScale(double scale) {
  videoScale_ = scale;
  LayoutVideo(scale);
}

void CPlayerDoc::StepVideoScale() {
  if (frame_ && frame_->GetFullScreenWnd()) return;
  if (videoScale_ == 1.0)
    videoScale_ = 2.0;
  else if (videoScale_ == 2.0)
    videoScale_ = 3.0;
  else if (videoScale_ == 3.0)
    videoScale_ = 0.5;
  else
    videoScale_ = 1.0;
  LayoutVideo(videoScale_);
}

}  // namespace lumivox
