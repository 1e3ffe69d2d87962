# Compares `kadrel distance --textbook` with R's ape on the bundled alignments and on seeded
# generated ones. Usage: Rscript peer_ape.R KADREL ALIGNMENT_FOLDER
if (!requireNamespace("ape", quietly = TRUE)) {
  cat("peer test skipped: R package ape is missing (apt-get install r-cran-ape)\n")
  quit(status = 77)
}
library(ape)
args <- commandArgs(trailingOnly = TRUE)
kadrel <- args[1]
bases <- c("A", "C", "G", "T")
partner <- c(A = "G", G = "A", C = "T", T = "C")

# 2-30% divergence, transitions favoured, unequal composition, gap runs on either side, a few
# ambiguous sites; every fifth pair has its second sequence in lower case, one pair is identical.
set.seed(11)
MakePair <- function(i) {
  n <- sample(200:600, 1)
  s1 <- sample(bases, n, TRUE, runif(4, 0.15, 1))
  s2 <- s1
  ts <- runif(1, 0.4, 0.85)
  for (j in sample(n, if (i == 1) 0 else round(n * runif(1, 0.02, 0.30))))
    s2[j] <- if (runif(1) < ts) partner[[s1[j]]] else sample(setdiff(bases, c(s1[j], partner[[s1[j]]])), 1)
  for (g in seq_len(sample(0:4, 1))) {
    at <- sample(n - 10, 1) + 0:sample(0:8, 1)
    if (runif(1) < 0.5) s1[at] <- "-" else s2[at] <- "-"
  }
  odd <- sample(n, sample(0:3, 1))
  s2[odd] <- sample(c("N", "R", "Y"), length(odd), TRUE)
  if (i %% 5 == 0) s2 <- tolower(s2)
  list(s1, s2)
}
WriteAln <- function(path, s) {
  n <- length(s[[1]])
  piece <- function(x, a) paste(x[a:min(a + 59, n)], collapse = "")
  stars <- ifelse(toupper(s[[1]]) == toupper(s[[2]]), "*", " ")
  line <- function(name, x, a) sprintf("%-10s%s", name, piece(x, a))
  blocks <- unlist(lapply(seq(1, n, 60), function(a) c(line("s1", s[[1]], a), line("s2", s[[2]], a), line("", stars, a), "")))
  writeLines(c(paste0("CLUSTAL FORMAT, Nseq=2, Len=", n), "", blocks), path)
}
folder <- tempfile("peer")
dir.create(folder)
generated <- file.path(folder, sprintf("gen_%02d.aln", 1:36))
for (i in seq_along(generated)) WriteAln(generated[i], MakePair(i))
files <- c(sort(Sys.glob(file.path(args[2], "*.aln"))), generated)

# Tajima and Nei (1984): ape has no TN84, so the paper's form in R: x over unordered base pairs.
TajimaNei <- function(x) {
  ch <- toupper(as.character(x))
  keep <- ch[1, ] %in% bases & ch[2, ] %in% bases
  f <- table(factor(ch[1, keep], bases), factor(ch[2, keep], bases)) / sum(keep)
  p <- 1 - sum(diag(f))
  if (p == 0) return(0)
  xs <- (f + t(f))[upper.tri(f)]
  g <- base.freq(x)
  gg <- outer(g, g)[upper.tri(f)]
  h <- sum(ifelse(xs > 0, xs^2 / (2 * gg), 0))
  b <- (1 - sum(g^2) + p^2 / h) / 2
  -b * log(1 - p / b)
}
models <- c(jc = "JC69", k2p = "K80", tn84 = "TN84", t3p = "T92", tn93 = "TN93", logdet = "logdet")
equal <- 0
differ <- 0
for (m in names(models)) {
  out <- suppressWarnings(system2(kadrel, c("distance", "--textbook", "-m", m, files), stdout = TRUE, env = "LC_ALL=C"))
  got <- suppressWarnings(as.numeric(sub(".*\t", "", sub("\r$", "", out[-1]))))
  for (i in seq_along(files)) {
    x <- read.dna(files[i], format = "clustal")
    v <- if (m == "tn84") TajimaNei(x) else dist.dna(x, model = models[[m]], pairwise.deletion = TRUE)[1]
    want <- if (is.finite(v)) round(v * 1000) / 1000 else NA
    if (identical(is.na(got[i]), is.na(want)) && (is.na(want) || abs(got[i] - want) < 1e-9)) {
      equal <- equal + 1
    } else {
      differ <- differ + 1
      cat(sprintf("%s %s: kadrel %s, R %.6f\n", basename(files[i]), m, got[i], v))
    }
  }
}
cat(sprintf("%d alignments x %d models: %d equal, %d differ\n", length(files), length(models), equal, differ))
quit(status = if (differ == 0 && equal == length(files) * length(models)) 0 else 1)
