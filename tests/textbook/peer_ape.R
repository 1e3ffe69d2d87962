# kadrel distance --textbook against R's ape: the counts and p (ape's raw distance, N, TS and TV with
# pairwise deletion) and every model on the example alignments and seeded generated ones; Tajima-Nei,
# which ape lacks, against the 1984 form in R.
#   Rscript peer_ape.R KADREL ALN_FOLDER   checks the running kadrel
#   Rscript peer_ape.R --golden DIR        writes the seeded alignments and ape's answers (ape.tsv)
#                                          that ape_golden.sh checks where R is missing
if (!requireNamespace("ape", quietly = TRUE)) {
  cat("peer test skipped: R package ape is missing (apt-get install r-cran-ape)\n")
  quit(status = 77)
}
library(ape)
args <- commandArgs(TRUE)
B <- c("A", "C", "G", "T")
set.seed(11)
# 2-30% divergence (pair 1 identical, pair 2 saturated), transitions favoured, unequal composition,
# gap runs, ambiguity codes and N in both sequences, every third pair with a long N run in one of them
# (a reference mostly unread), every fifth second sequence in lower case.
Pair <- function(i) {
  n <- sample(200:600, 1); a <- sample(B, n, TRUE, runif(4, 0.15, 1)); b <- a
  ts <- c(A = "G", G = "A", C = "T", T = "C"); tv <- runif(1, 0.15, 0.6)
  for (j in sample(n, round(n * c(0, 0.85, runif(34, 0.02, 0.3))[i])))
    b[j] <- if (runif(1) < tv) sample(setdiff(B, c(a[j], ts[[a[j]]])), 1) else ts[[a[j]]]
  for (g in seq_len(sample(0:4, 1))) if (runif(1) < 0.5) a[sample(n - 9, 1) + 0:8] <- "-" else b[sample(n - 9, 1) + 0:3] <- "-"
  codes <- c("N", "R", "Y", "S", "W", "K", "M", "B", "D", "H", "V")
  odd <- sample(n, sample(0:8, 1)); b[odd] <- sample(codes, length(odd), TRUE)
  odd <- sample(n, sample(0:3, 1)); a[odd] <- sample(codes, length(odd), TRUE)
  if (i %% 3 == 0) b[seq_len(round(n * runif(1, 0.2, 0.6)))] <- "N"
  list(a, if (i %% 5 == 0) tolower(b) else b)
}
Aln <- function(file, s) {
  n <- length(s[[1]]); star <- ifelse(toupper(s[[1]]) == toupper(s[[2]]), "*", " ")
  cut <- function(name, x, a) sprintf("%-10s%s", name, paste(x[a:min(a + 59, n)], collapse = ""))
  blocks <- sapply(seq(1, n, 60), function(a) c(cut("s1", s[[1]], a), cut("s2", s[[2]], a), cut("", star, a), ""))
  writeLines(c(paste0("CLUSTAL, Len=", n), "", blocks), file)
}
TN84 <- function(x) {
  s <- toupper(as.character(x)); k <- s[1, ] %in% B & s[2, ] %in% B; g <- base.freq(x)
  f <- table(factor(s[1, k], B), factor(s[2, k], B)) / sum(k); p <- 1 - sum(diag(f)); u <- upper.tri(f)
  b <- (1 - sum(g^2) + p^2 / sum(ifelse(f[u] + t(f)[u] > 0, (f[u] + t(f)[u])^2 / (2 * outer(g, g)[u]), 0))) / 2
  if (p == 0) 0 else suppressWarnings(-b * log(1 - p / b))
}
models <- c(jc = "JC69", k2p = "K80", tn84 = "", t3p = "T92", tn93 = "TN93", logdet = "logdet")
Printed <- function(v) ifelse(is.finite(v), round(v * 1000) / 1000, NA)  # as Kadrel prints: half to even
# One row per alignment: Length, No. Diff., p-Dist, No. Trans., No. Transv., Ts/Tv, then the models.
Ape <- function(file) {
  x <- read.dna(file, "clustal"); s <- toupper(as.character(x))
  d <- function(m) dist.dna(x, m, pairwise.deletion = TRUE)[1]
  ts <- d("TS"); tv <- d("TV")
  c(sum(s[1, ] %in% B & s[2, ] %in% B), d("N"), Printed(d("raw")), ts, tv, Printed(ts / max(tv, 1)),
    sapply(names(models), function(m) Printed(if (m == "tn84") TN84(x) else d(models[[m]]))))
}
columns <- c("length", "differences", "p", "transitions", "transversions", "ts/tv", names(models))

if (args[1] == "--golden") {
  dir.create(args[2], showWarnings = FALSE)
  files <- file.path(args[2], sprintf("gen_%02d.aln", 1:36))
  for (i in 1:36) Aln(files[i], Pair(i))
  want <- t(sapply(files, Ape))
  write.table(cbind(basename(files), want), file.path(args[2], "ape.tsv"), sep = "\t", quote = FALSE,
              row.names = FALSE, col.names = c("file", columns))
  quit(status = 0)
}
files <- c(Sys.glob(file.path(args[2], "*.aln")), file.path(tempdir(), sprintf("gen_%02d.aln", 1:36)))
for (i in 1:36) Aln(files[length(files) - 36 + i], Pair(i))
Kadrel <- function(m) {
  out <- suppressWarnings(system2(args[1], c("distance", "--textbook", "-m", m, files), stdout = TRUE, env = "LC_ALL=C"))
  stopifnot(length(out) == length(files) + 1)
  fields <- strsplit(sub("\r$", "", out[-1]), "\t")
  suppressWarnings(t(sapply(fields, function(f) as.numeric(f[-(1:2)]))))
}
none <- Kadrel("none")
got <- cbind(none[, c(1:3, 5:7)], sapply(names(models), function(m) Kadrel(m)[, 8]))
want <- t(sapply(files, Ape))
bad <- 0
for (j in seq_along(columns)) {
  wrong <- which(is.na(got[, j]) != is.na(want[, j]) | abs(got[, j] - want[, j]) > 1e-9)
  for (i in wrong) cat(sprintf("%s %s: kadrel %s, R %s\n", basename(files[i]), columns[j], got[i, j], want[i, j]))
  bad <- bad + length(wrong)
}
cat(sprintf("%d alignments x %d values compared, %d differ\n", length(files), length(columns), bad))
quit(status = as.integer(bad > 0))
